// Names as a case-blind file system (FAT, exFAT, NTFS) tells them apart:
// two names with the same fold are one entry there, and a run that sent
// both would have one overwrite the other.
#ifndef PELLMAR_CORE_NAME_FOLD_H_
#define PELLMAR_CORE_NAME_FOLD_H_

#include <string>

namespace pellmar {

/// `name` (UTF-8) with its letters in one case and the dots and blanks it
/// ends in dropped, as those file systems drop them. Bytes that are no
/// UTF-8 stay as they are.
std::string FoldedName(const std::string& name);

}  // namespace pellmar

#endif  // PELLMAR_CORE_NAME_FOLD_H_
