#include "store/RecordFaults.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

QString RecordFaultText(RecordFileState state)
{
    switch (state) {
    case RecordFileState::Whole:
        return {};
    case RecordFileState::Missing:
        return Lang(StringId::RecordFaultMissing);
    case RecordFileState::Unreadable:
        return Lang(StringId::RecordFaultUnreadable);
    case RecordFileState::Short:
        return Lang(StringId::RecordFaultShort);
    case RecordFileState::Long:
        return Lang(StringId::RecordFaultLong);
    case RecordFileState::BadSum:
        return Lang(StringId::RecordFaultBadSum);
    }
    return {};
}
