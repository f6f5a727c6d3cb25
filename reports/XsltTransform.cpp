#include "reports/XsltTransform.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {

// libxml2 and libxslt report through global callbacks; while a transform runs they collect
// into the transform's own lists.
struct Diagnostics {
    QStringList messages;
    QStringList refusals; // what the sandbox stopped
};
Diagnostics* g_diagnostics = nullptr;

void collect(void*, const char* format, ...)
{
    if (!g_diagnostics)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    const QString text = QString::fromUtf8(buffer).trimmed();
    if (!text.isEmpty())
        g_diagnostics->messages.append(text);
}

int refuse(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char* value)
{
    if (g_diagnostics)
        g_diagnostics->refusals.append(QString::fromUtf8(value ? value : ""));
    return 0;
}

class DiagnosticsScope {
public:
    explicit DiagnosticsScope(Diagnostics& d)
    {
        g_diagnostics = &d;
        xmlSetGenericErrorFunc(nullptr, collect);
        xsltSetGenericErrorFunc(nullptr, collect);
    }
    ~DiagnosticsScope()
    {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
        g_diagnostics = nullptr;
    }
};

struct DocFree {
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};
struct StyleFree {
    void operator()(xsltStylesheetPtr style) const { xsltFreeStylesheet(style); }
};
struct ContextFree {
    void operator()(xsltTransformContextPtr ctxt) const { xsltFreeTransformContext(ctxt); }
};
struct PrefsFree {
    void operator()(xsltSecurityPrefsPtr prefs) const { xsltFreeSecurityPrefs(prefs); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

constexpr xsltSecurityOption kForbidden[] = {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE,
                                             XSLT_SECPREF_CREATE_DIRECTORY,
                                             XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK};

xsltSecurityPrefsPtr newSandbox()
{
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    for (xsltSecurityOption option : kForbidden)
        xsltSetSecurityPrefs(prefs, option, refuse);
    return prefs;
}

// Once per process: EXSLT (the stylesheets build their label tables with node-set()) and
// the sandbox for includes and imports made while a stylesheet is parsed.
void initialiseOnce()
{
    static const bool done = [] {
        exsltRegisterAll();
        xsltSetDefaultSecurityPrefs(newSandbox());
        return true;
    }();
    (void)done;
}

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOCDATA;

Doc parse(const QString& path)
{
    return Doc(xmlReadFile(QFile::encodeName(path).constData(), nullptr, kParseOptions));
}

bool declaresDocumentType(const xmlDoc* doc)
{
    return doc->intSubset || doc->extSubset;
}

QString unescapeAttribute(QString value)
{
    value.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    value.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    value.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    value.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    value.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return value;
}

// The file that the first xml-stylesheet instruction names, or empty.
QString stylesheetOf(const xmlDoc* doc, const QString& xmlPath)
{
    static const QRegularExpression href(
        QStringLiteral(R"re(\bhref\s*=\s*(?:"([^"]*)"|'([^']*)'))re"));
    for (const xmlNode* node = doc->children; node; node = node->next) {
        if (node->type != XML_PI_NODE ||
            xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>("xml-stylesheet")) != 0)
            continue;
        const QString content = QString::fromUtf8(reinterpret_cast<const char*>(node->content));
        const QRegularExpressionMatch match = href.match(content);
        if (!match.hasMatch())
            return {};
        const QString target =
            unescapeAttribute(match.captured(1).isNull() ? match.captured(2) : match.captured(1));
        if (target.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
            return QUrl(target).toLocalFile();
        return QFileInfo(xmlPath).dir().absoluteFilePath(target);
    }
    return {};
}

QString detailOf(const Diagnostics& d)
{
    return d.messages.join(u'\n');
}

XsltTransform::Result failure(const QString& error, const QString& stylesheet = {})
{
    XsltTransform::Result result;
    result.error = error;
    result.stylesheet = stylesheet;
    return result;
}

} // namespace

XsltTransform::Result XsltTransform::renderFile(const QString& xmlPath, const QString& language)
{
    initialiseOnce();
    Diagnostics diagnostics;
    DiagnosticsScope scope(diagnostics);

    const Doc doc = parse(xmlPath);
    if (!doc)
        return failure(Lang(StringId::ReportDocumentBroken).arg(xmlPath, detailOf(diagnostics)));
    if (declaresDocumentType(doc.get()))
        return failure(Lang(StringId::ReportDocumentTypeRefused).arg(xmlPath));

    const QString stylesheetPath = stylesheetOf(doc.get(), xmlPath);
    if (stylesheetPath.isEmpty())
        return failure(Lang(StringId::ReportNoStylesheet).arg(xmlPath));
    if (!QFileInfo(stylesheetPath).isFile())
        return failure(Lang(StringId::ReportStylesheetMissing).arg(stylesheetPath), stylesheetPath);

    Doc styleDoc = parse(stylesheetPath);
    if (styleDoc && declaresDocumentType(styleDoc.get()))
        return failure(Lang(StringId::ReportDocumentTypeRefused).arg(stylesheetPath),
                       stylesheetPath);
    std::unique_ptr<xsltStylesheet, StyleFree> style(
        styleDoc ? xsltParseStylesheetDoc(styleDoc.get()) : nullptr);
    if (style)
        static_cast<void>(styleDoc.release()); // the stylesheet owns its document now
    if (!style || style->errors > 0) {
        if (!diagnostics.refusals.isEmpty())
            return failure(
                Lang(StringId::ReportSandboxRefused)
                    .arg(stylesheetPath, diagnostics.refusals.join(QStringLiteral(", "))),
                stylesheetPath);
        return failure(
            Lang(StringId::ReportStylesheetBroken).arg(stylesheetPath, detailOf(diagnostics)),
            stylesheetPath);
    }

    std::unique_ptr<xsltTransformContext, ContextFree> ctxt(
        xsltNewTransformContext(style.get(), doc.get()));
    std::unique_ptr<xsltSecurityPrefs, PrefsFree> sandbox(newSandbox());
    xsltSetCtxtSecurityPrefs(sandbox.get(), ctxt.get());
    xsltSetCtxtParseOptions(ctxt.get(), kParseOptions);

    // A string parameter is an XPath expression: the language code in quotes.
    const QByteArray languageValue = "'" + language.toLatin1() + "'";
    const char* params[] = {"lang", languageValue.constData(), nullptr};
    Doc output(
        xsltApplyStylesheetUser(style.get(), doc.get(), params, nullptr, nullptr, ctxt.get()));
    if (!diagnostics.refusals.isEmpty())
        return failure(Lang(StringId::ReportSandboxRefused)
                           .arg(stylesheetPath, diagnostics.refusals.join(QStringLiteral(", "))),
                       stylesheetPath);
    if (!output || ctxt->state == XSLT_STATE_ERROR || ctxt->state == XSLT_STATE_STOPPED)
        return failure(Lang(StringId::ReportTransformFailed)
                           .arg(xmlPath, stylesheetPath, detailOf(diagnostics)),
                       stylesheetPath);

    xmlChar* html = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&html, &length, output.get(), style.get()) != 0 || !html)
        return failure(Lang(StringId::ReportTransformFailed)
                           .arg(xmlPath, stylesheetPath, detailOf(diagnostics)),
                       stylesheetPath);
    Result result;
    result.ok = true;
    result.html = QString::fromUtf8(reinterpret_cast<const char*>(html), length);
    result.stylesheet = stylesheetPath;
    xmlFree(html);
    return result;
}
