#include "app/CommandLine.h"

#include "app/LanguageChoice.h"
#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <QCommandLineParser>

void CommandLine::answer(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options are not declared here; parse() only notes them as unknown.
    parser.parse(arguments);
    if (parser.isSet(version))
        parser.showVersion();
    if (parser.isSet(help)) {
        // The description in the language the window would speak.
        if (LanguagePack::current().load(LanguageChoice::startPack()))
            parser.setApplicationDescription(Lang(StringId::CommandLineDescription));
        parser.showHelp();
    }
}
