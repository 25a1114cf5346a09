#pragma once
// The texts the Qt-free part of the program shows, in the one context of the string table,
// so that the translation tools find them: the keys of the string table, and the English
// texts that reach the screen as they are (their figures written %1, %2, ...). A text added
// to the program that the user reads belongs here.
#include <QtGlobal>

namespace bw::qt {

inline constexpr const char* kProgramTexts[] = {
    // keys of the string table
    QT_TRANSLATE_NOOP("Brindlewick", "StartEmpty"),
    QT_TRANSLATE_NOOP("Brindlewick", "StopEmpty"),
    QT_TRANSLATE_NOOP("Brindlewick", "Delete"),
    QT_TRANSLATE_NOOP("Brindlewick", "NoteSelect"),
    QT_TRANSLATE_NOOP("Brindlewick", "DeleteChosenTitle"),
    QT_TRANSLATE_NOOP("Brindlewick", "HomeTrash"),
    QT_TRANSLATE_NOOP("Brindlewick", "KindFolder"),
    QT_TRANSLATE_NOOP("Brindlewick", "KindFile"),
    QT_TRANSLATE_NOOP("Brindlewick", "KindLink"),
    QT_TRANSLATE_NOOP("Brindlewick", "KindOther"),
    QT_TRANSLATE_NOOP("Brindlewick", "FileMoveError"),
    QT_TRANSLATE_NOOP("Brindlewick", "FileDeleteError"),
    QT_TRANSLATE_NOOP("Brindlewick", "FileRenameError"),
    QT_TRANSLATE_NOOP("Brindlewick", "FileWriteError"),
    QT_TRANSLATE_NOOP("Brindlewick", "ResWriteError"),
    QT_TRANSLATE_NOOP("Brindlewick", "FileBusyError"),
    QT_TRANSLATE_NOOP("Brindlewick", "TrashErrorInfo"),
    QT_TRANSLATE_NOOP("Brindlewick", "TrashBusyInfo"),
    QT_TRANSLATE_NOOP("Brindlewick", "TrashError"),
    QT_TRANSLATE_NOOP("Brindlewick", "Understand"),
    QT_TRANSLATE_NOOP("Brindlewick", "Standingby"),
    QT_TRANSLATE_NOOP("Brindlewick", "Deleteing"),
    QT_TRANSLATE_NOOP("Brindlewick", "Measureing"),
    QT_TRANSLATE_NOOP("Brindlewick", "Canceling"),
    QT_TRANSLATE_NOOP("Brindlewick", "AutoDeleteOff"),
    QT_TRANSLATE_NOOP("Brindlewick", "NotAnswering"),
    QT_TRANSLATE_NOOP("Brindlewick", "RemovedWithoutOverwriting"),
    // the status menu
    QT_TRANSLATE_NOOP("Brindlewick", "Used"),
    QT_TRANSLATE_NOOP("Brindlewick", "Trash"),
    QT_TRANSLATE_NOOP("Brindlewick", "Free"),
    QT_TRANSLATE_NOOP("Brindlewick", "Delete Copied Trash Items"),
    QT_TRANSLATE_NOOP("Brindlewick", "Choose Trash Items to Delete\u2026"),
    QT_TRANSLATE_NOOP("Brindlewick", "History\u2026"),
    QT_TRANSLATE_NOOP("Brindlewick", "Trash Information\u2026"),
    QT_TRANSLATE_NOOP("Brindlewick", "Preferences\u2026"),
    QT_TRANSLATE_NOOP("Brindlewick", "Check Now"),
    QT_TRANSLATE_NOOP("Brindlewick", "Quit Brindlewick"),
    QT_TRANSLATE_NOOP("Brindlewick", "No auto delete operation."),
    QT_TRANSLATE_NOOP("Brindlewick", "Last automatic deletion: %1"),
    // the tool tip
    QT_TRANSLATE_NOOP("Brindlewick", "Trash is empty condition"),
    QT_TRANSLATE_NOOP("Brindlewick", "Watching trash condition"),
    QT_TRANSLATE_NOOP("Brindlewick", "Shredding trash files"),
    QT_TRANSLATE_NOOP("Brindlewick", "Measuring trash condition"),
    // alerts and questions
    QT_TRANSLATE_NOOP("Brindlewick", "Error"),
    QT_TRANSLATE_NOOP("Brindlewick", "File"),
    QT_TRANSLATE_NOOP("Brindlewick", "Info"),
    QT_TRANSLATE_NOOP("Brindlewick", "Shred %1 trash item?"),
    QT_TRANSLATE_NOOP("Brindlewick", "Shred %1 trash items?"),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 will be overwritten and removed. This cannot be undone."),
    QT_TRANSLATE_NOOP("Brindlewick", "Shred"),
    QT_TRANSLATE_NOOP("Brindlewick", "Do not ask again"),
    // the information panel's next item to go and its rules of the volume
    QT_TRANSLATE_NOOP("Brindlewick", "Nothing: the trash is empty"),
    QT_TRANSLATE_NOOP("Brindlewick", "trashed on %1"),
    QT_TRANSLATE_NOOP("Brindlewick", "trashed on an unknown day"),
    QT_TRANSLATE_NOOP("Brindlewick", "goes at the next check (%1)"),
    QT_TRANSLATE_NOOP("Brindlewick", "no rule wants it gone yet"),
    QT_TRANSLATE_NOOP("Brindlewick", "off (default)"),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 (default)"),
    QT_TRANSLATE_NOOP("Brindlewick", "Each value must be a number, or empty for the default."),
    // the rules' problems, in both panels
    QT_TRANSLATE_NOOP("Brindlewick", "The minimum free space must be a number from %1 to %2 %."),
    QT_TRANSLATE_NOOP("Brindlewick", "The minimum free space must be a size of %1 or more."),
    QT_TRANSLATE_NOOP("Brindlewick", "The minimum free space must be a size above %1."),
    QT_TRANSLATE_NOOP("Brindlewick", "The age limit must be a number of days from %1 (off) to %2."),
    QT_TRANSLATE_NOOP("Brindlewick", "The trash's share of its volume must be a number from %1 (off) to %2 %."),
    QT_TRANSLATE_NOOP("Brindlewick", "The check interval must be a number of seconds from %1 to %2 (one day)."),
    // the history window's count of what it shows
    QT_TRANSLATE_NOOP("Brindlewick", "Reading the history\u2026"),
    QT_TRANSLATE_NOOP("Brindlewick", "No deletions recorded yet."),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 deletion"),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 deletions"),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 of %2 deletion"),
    QT_TRANSLATE_NOOP("Brindlewick", "%1 of %2 deletions"),
    // the notifications of a permission repair that did not happen
    QT_TRANSLATE_NOOP("Brindlewick", "Trash items could not be removed"),
    QT_TRANSLATE_NOOP("Brindlewick", "No authentication agent is running to ask for an administrator's password."),
    QT_TRANSLATE_NOOP("Brindlewick", "The administrator's authorization was refused."),
    QT_TRANSLATE_NOOP("Brindlewick", "The permission repair could not be started."),
    QT_TRANSLATE_NOOP("Brindlewick", "The permission repair failed:"),
};

} // namespace bw::qt
