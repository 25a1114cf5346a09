#include "platform/qt/QtOpenPanel.h"

#include <QDir>
#include <QFileDialog>

namespace bw::qt {

namespace {

// A file dialog whose confirm button takes what is selected as it is, folders included,
// instead of opening a selected folder.
class ChooserDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void accept() override { QDialog::accept(); }
};

} // namespace

std::optional<std::vector<std::string>> QtOpenPanel::runModal(const OpenPanelOptions& options,
                                                              std::function<void(OpenPanel&)> directoryDidChange)
{
    ChooserDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // A link in the trash is chosen as itself, never as what it points to.
    dialog.setOption(QFileDialog::DontResolveSymlinks, true);
    dialog.setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const std::string& heading = options.message.empty() ? options.title : options.message;
    dialog.setWindowTitle(QString::fromStdString(heading));
    if (!options.prompt.empty())
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(options.prompt));
    dialog.setDirectory(QString::fromStdString(options.startDirectory));
    directory_ = dialog.directory().absolutePath();
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [this, directoryDidChange](const QString& path) {
        directory_ = path;
        directoryDidChange(*this);
    });
    dialog_ = &dialog;
    const int result = dialog.exec();
    dialog_ = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> chosen;
    for (const QString& path : dialog.selectedFiles())
        chosen.push_back(QFile::encodeName(path).toStdString());
    return chosen;
}

std::string QtOpenPanel::directory() const
{
    return QFile::encodeName(directory_).toStdString();
}

void QtOpenPanel::setDirectory(const std::string& path)
{
    directory_ = QFile::decodeName(QByteArray::fromStdString(path));
    if (dialog_)
        dialog_->setDirectory(directory_);
}

} // namespace bw::qt
