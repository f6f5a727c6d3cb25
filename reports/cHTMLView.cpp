#include "reports/cHTMLView.h"

#include "lang/LanguagePack.h"
#include "reports/XsltTransform.h"

cHTMLView::cHTMLView(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("cHTMLView"));
    setOpenLinks(false);
    // The page is a sheet of paper on the desktop, whatever the colour scheme.
    QPalette paper = palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    setPalette(paper);
}

QString cHTMLView::reportLanguage()
{
    const QString language = LanguagePack::current().loadedName().section(u'_', -1);
    return language == QLatin1String("en") ? language : QStringLiteral("ru");
}

bool cHTMLView::Navigate(const QUrl& url, QString* error)
{
    const XsltTransform::Result page =
        XsltTransform::renderFile(url.toLocalFile(), reportLanguage());
    if (!page.ok) {
        *error = page.error;
        return false;
    }
    m_url = url;
    // Pictures the page names (the icon beside the document) are found next to it.
    document()->setBaseUrl(url);
    setHtml(page.html);
    return true;
}
