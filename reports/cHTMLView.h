#pragma once

#include <QTextBrowser>
#include <QUrl>

// The report window's page: the XML file named by a file URL, turned into HTML by the
// stylesheet its processing instruction names, in the language of the loaded pack.
class cHTMLView : public QTextBrowser {
    Q_OBJECT
public:
    explicit cHTMLView(QWidget* parent = nullptr);

    // Shows the page of `url`. False, with the page left as it was and `error` set, when the
    // document or its stylesheet cannot be read or transformed.
    bool Navigate(const QUrl& url, QString* error);
    QUrl currentUrl() const { return m_url; }

    // The language the stylesheets are given: "ru" or "en" from the loaded pack.
    static QString reportLanguage();

    // Pictures and style sheets the page names come only from the document's own folder and
    // the program's data files; anything else (another local file, the network) is refused.
    // Copies of the page made for printing load through here too.
    QVariant loadResource(int type, const QUrl& name) override;

private:
    QUrl m_url;
};
