#pragma once

#include <QDialog>

// The about box, from dialog template 100 of the language pack.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
