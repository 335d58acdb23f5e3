#ifndef ZELMAP_TERMINALTEXT_H
#define ZELMAP_TERMINALTEXT_H

#include <QString>

// Names and values come from devices on the network: printed raw, a control sequence in one
// would clear the screen, retitle the window or write the clipboard, and a bidirectional
// override would reorder what a person reads. These are shown escaped instead.
namespace TerminalText {

// TEXT with every C0 and C1 control character and DEL shown as \xHH, and every bidirectional
// control, line or paragraph separator and unpaired surrogate as \uHHHH; the rest unchanged.
QString escaped(const QString &text);

} // namespace TerminalText

#endif // ZELMAP_TERMINALTEXT_H
