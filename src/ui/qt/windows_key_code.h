// Qt key events as the Windows virtual-key codes the window logic tests
// (F1 is 112), so the key reactions read the same on every toolkit.
#ifndef PELLMAR_UI_QT_WINDOWS_KEY_CODE_H_
#define PELLMAR_UI_QT_WINDOWS_KEY_CODE_H_

namespace pellmar {

/// The virtual-key code of a Qt::Key value; 0 for a key without one.
int WindowsKeyCode(int qt_key);

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_WINDOWS_KEY_CODE_H_
