#include "app/about_dlg.h"

#include "app/app_icon.h"
#include "app/dialog_units.h"
#include "version.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent)
{
    setWindowTitle(QStringLiteral("Wriggletのﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(DialogUnitsToPixels(QSize(235, 55)));

    auto* pIcon = new QLabel(this);
    pIcon->setGeometry(DialogUnitsToPixels(QRect(11, 17, 20, 20)));
    pIcon->setPixmap(LoadAppIcon().pixmap(pIcon->size()));

    auto* pName = new QLabel(QStringLiteral(WRIGGLET_ABOUT_NAME), this);
    pName->setTextFormat(Qt::PlainText);
    pName->setGeometry(DialogUnitsToPixels(QRect(40, 10, 119, 8)));

    auto* pLine = new QLabel(QStringLiteral("文字を食べて答えるヘビのクイズ"), this);
    pLine->setGeometry(DialogUnitsToPixels(QRect(40, 25, 119, 8)));

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setGeometry(DialogUnitsToPixels(QRect(178, 7, 50, 14)));
    pOk->setDefault(true);
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}
