#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Wrigglet"));
    dialog.setFixedSize(363, 302);
    return dialog.exec() ? 0 : 0;
}
