#pragma once
#include "platform/SelectionSource.h"

namespace bw::qt {

// The files copied in the file manager, from the desktop clipboard: the standard address
// list ("text/uri-list"), or the GNOME form beside it. Without a graphical application
// there is no clipboard to read.
class QtClipboardSelection final : public SelectionSource {
public:
    CopiedFiles copiedFiles() override;
};

} // namespace bw::qt
