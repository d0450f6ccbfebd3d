#pragma once

class CCoolButton;
class CCoolDialog;
class CCoolEdit;

// The look every skinned dialog of the browser takes from the current skin, in the
// order the skinned dialog expects its pictures.
namespace DialogSkin {

void ApplyTo(CCoolDialog* dialog);
void ApplyTo(CCoolEdit* edit);
void ApplyTo(CCoolButton* button);

} // namespace DialogSkin
