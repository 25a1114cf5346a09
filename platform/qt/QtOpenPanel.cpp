#include "platform/qt/QtOpenPanel.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>

namespace bw::qt {

namespace {

// A file dialog whose confirm button takes what is selected as it is, folders included,
// instead of opening a selected folder.
class ChooserDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void accept() override { QDialog::accept(); }
};

// The panel's note, below the file list and the buttons, across the whole dialog.
void addMessage(QFileDialog& dialog, const std::string& message)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (message.empty() || !grid)
        return;
    auto* note = new QLabel(QString::fromStdString(message), &dialog);
    note->setWordWrap(true);
    grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
}

// Size, kind and date shown whole, the names taking the rest of the width.
void fitColumns(QFileDialog& dialog)
{
    auto* view = dialog.findChild<QTreeView*>();
    if (!view)
        return;
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

// Qt names the button "Open" while a folder is selected, but here it deletes what is
// selected, folders included: the button keeps saying so.
void keepAcceptLabel(QFileDialog& dialog, const QString& label)
{
    auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* button = box ? box->button(QDialogButtonBox::Open) : nullptr;
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!button || !edit || label.isEmpty())
        return;
    const auto restore = [button, label] { button->setText(label); };
    QObject::connect(edit, &QLineEdit::textChanged, button, restore);
    QObject::connect(&dialog, &QFileDialog::currentChanged, button, restore);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, button, restore);
}

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
    // A blank title would leave the window nameless in the task list: the button's text
    // names it then.
    const QString title = QString::fromStdString(options.title).trimmed();
    dialog.setWindowTitle(title.isEmpty() ? QString::fromStdString(options.prompt) : title);
    if (!options.prompt.empty())
        dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(options.prompt));
    keepAcceptLabel(dialog, QString::fromStdString(options.prompt));
    addMessage(dialog, options.message);
    dialog.setViewMode(QFileDialog::Detail);
    fitColumns(dialog);
    dialog.resize(760, 460);
    dialog.setDirectory(QString::fromStdString(options.startDirectory));
    QList<QUrl> places;
    for (const auto& place : options.places)
        places.append(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(place))));
    if (!places.isEmpty())
        dialog.setSidebarUrls(places);
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
