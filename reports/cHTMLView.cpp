#include "reports/cHTMLView.h"

#include "lang/LanguagePack.h"
#include "platform/DataFiles.h"
#include "reports/XsltTransform.h"

#include <QFileInfo>
#include <QImage>

cHTMLView::cHTMLView(QWidget* parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("cHTMLView"));
    setOpenLinks(false);
    // A value without spaces as wide as its field breaks rather than widening the page.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
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

QVariant cHTMLView::loadResource(int type, const QUrl& name)
{
    const QUrl url = document()->baseUrl().resolved(name);
    QStringList allowed = DataFiles::folders();
    allowed.append(QFileInfo(m_url.toLocalFile()).absolutePath());
    const QString file =
        url.isLocalFile() ? QFileInfo(url.toLocalFile()).canonicalFilePath() : QString();
    for (QString& place : allowed)
        place = QFileInfo(place).canonicalFilePath();
    if (!file.isEmpty() && allowed.contains(QFileInfo(file).path()))
        return QTextBrowser::loadResource(type, url);
    // An empty answer rather than none, which would let the document read the file itself.
    if (type == QTextDocument::ImageResource)
        return QImage();
    return QString();
}
