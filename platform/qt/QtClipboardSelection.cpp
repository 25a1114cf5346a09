#include "platform/qt/QtClipboardSelection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace bw::qt {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnomeList = QStringLiteral("x-special/gnome-copied-files");

std::string bytesOf(const QByteArray& data)
{
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

} // namespace

CopiedFiles QtClipboardSelection::copiedFiles()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {CopiedFiles::Kind::Unreadable, {}, "no display, so no clipboard to read"};
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {CopiedFiles::Kind::Unreadable, {}, "the display offers no clipboard"};
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    // No data at all: nobody has copied anything.
    if (!data || data->formats().isEmpty())
        return {CopiedFiles::Kind::Empty, {}, {}};
    // The raw bytes, not QUrl: names that are not valid UTF-8 must come through unchanged.
    if (data->hasFormat(kUriList))
        return copiedFilesFromUriList(bytesOf(data->data(kUriList)));
    if (data->hasFormat(kGnomeList))
        return copiedFilesFromGnomeList(bytesOf(data->data(kGnomeList)));
    return {CopiedFiles::Kind::Other, {}, {}};
}

} // namespace bw::qt
