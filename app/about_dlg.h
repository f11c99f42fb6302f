#pragma once

#include <QDialog>

// "Wrigglet Version 1.0" with the icon and an OK button.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* pParent = nullptr);
};
