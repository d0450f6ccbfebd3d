#pragma once

namespace Pellora {
class CCoolButton;
class CCoolDialog;
class CCoolEdit;
}

// The look every skinned dialog of the browser takes from the current skin, in the
// order the skinned dialog expects its pictures.
namespace DialogSkin {

void ApplyTo(Pellora::CCoolDialog* dialog);
void ApplyTo(Pellora::CCoolEdit* edit);
void ApplyTo(Pellora::CCoolButton* button);

} // namespace DialogSkin
