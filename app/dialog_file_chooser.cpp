#include "app/dialog_file_chooser.h"

#include "app/path_text.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

bool CDialogFileChooser::DoModal()
{
    QFileDialog dialog(m_pParent, QString(), QDir::currentPath());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The labels stay as the game has always shown them; the patterns behind
    // them are hidden. "AllFiles" matches every name, also those without a
    // dot, as on the desktop the game was made for.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({QStringLiteral("CsvFiles(*.csv) (*.csv)"),
                           QStringLiteral("AllFiles(*.*) (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    m_strPath = PathFromText(dialog.selectedFiles().constFirst());
    return true;
}
