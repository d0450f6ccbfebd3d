#pragma once

#include <QString>

#include <functional>

// The two INI files beside the program that say which skins exist ("skinlist.ini")
// and which one is in use ("currentskin.ini"). The child's pick is written to the
// user's own copy of the current-skin file when the installation cannot be written,
// and that copy is read first.
namespace SkinFiles {

QString SkinListPath();
// The skin definition file of a skin list's INI_FILE value: it lies under "skin/".
QString SkinDefinition(const QString& iniFile);
// The current-skin file to read: the user's copy when there is one.
QString CurrentSkinPath();
// The skin definition file of the skin in use: the skin folder joined with the
// INI_FILE of the current skin's section (the bare folder when none is recorded).
QString CurrentSkinDefinition();
// Puts a skin on at start: `tryLoad` is given the current skin's definition, then, when
// it fails, each skin of the list in turn (so a lost or damaged skin never leaves the
// browser without one). The definition it took, or empty when it took none.
QString LoadStartSkin(const std::function<bool(const QString& definition)>& tryLoad);
// Records the child's pick as "SKIN_NAME" in the user's own copy of the current-skin
// file, made from the installed one first so that nothing else of it changes. False
// (logged) when it cannot be written.
bool WriteCurrentSkin(const QString& id);
// A button picture of the fixed set under "Common/", the same for every skin.
QString CommonPicture(const char* name);
// Every picture of the common folder (the bars' buttons and the side bar's icons).
QStringList CommonPictures();

} // namespace SkinFiles
