#pragma once

#include <QString>

// The two INI files beside the program that say which skins exist ("skinlist.ini")
// and which one is in use ("currentskin.ini"). The child's pick is written to the
// user's own copy of the current-skin file when the installation cannot be written,
// and that copy is read first.
namespace SkinFiles {

QString SkinListPath();
// The current-skin file to read: the user's copy when there is one.
QString CurrentSkinPath();
// The skin definition file of the skin in use: the skin folder joined with the
// INI_FILE of the current skin's section (the bare folder when none is recorded).
QString CurrentSkinDefinition();
// A button picture of the fixed set under "Common/", the same for every skin.
QString CommonPicture(const char* name);

} // namespace SkinFiles
