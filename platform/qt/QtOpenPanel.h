#pragma once
#include "platform/OpenPanel.h"

#include <QString>

class QFileDialog;

namespace bw::qt {

// The trash item chooser: Qt's own file dialog (never the desktop's, whose directory
// changes cannot be watched), choosing several files and folders at once. Every directory
// it enters is reported to the handler, which may send it back.
class QtOpenPanel final : public OpenPanel {
public:
    std::optional<std::vector<std::string>> runModal(const OpenPanelOptions& options,
                                                     std::function<void(OpenPanel&)> directoryDidChange) override;
    std::string directory() const override;
    void setDirectory(const std::string& path) override;

    // The dialog while runModal() runs; null otherwise.
    QFileDialog* dialog() const { return dialog_; }

private:
    QFileDialog* dialog_ = nullptr; // lives on runModal()'s stack
    QString directory_;
};

} // namespace bw::qt
