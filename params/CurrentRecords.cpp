#include "params/CurrentRecords.h"

namespace {
// Namespace-scope objects with constant initialisation: zero from before main() to exit.
ParamRecord g_param;
GsmRecord g_gsm;
OwnerRecord g_owner;
} // namespace

ParamRecord& CurrentParamRecord()
{
    return g_param;
}

GsmRecord& CurrentGsmRecord()
{
    return g_gsm;
}

OwnerRecord& CurrentOwnerRecord()
{
    return g_owner;
}

void ClearCurrentRecords()
{
    g_param.bytes.fill(0);
    g_gsm.bytes.fill(0);
    g_owner.bytes.fill(0);
}
