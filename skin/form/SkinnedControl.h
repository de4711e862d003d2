// The one interface through which the skinned form's skin change walk reaches a skinned control: the control names
// its skin container and reloads its looks when that container changes. Controls implement it next to their
// class-library base (a TWinControl or TGraphicControl); the walk finds them with dynamic_cast.
#pragma once

class TbsSkinData;

class IbsSkinnedControl {
  public:
    virtual ~IbsSkinnedControl() = default;
    // The container the control draws from (nullptr: none).
    virtual TbsSkinData* ControlSkinData() const = 0;
    // The old skin is about to go: drop every reference into it.
    virtual void BeforeChangeSkinData() {}
    // The container holds its new skin (or none).
    virtual void ChangeSkinData() = 0;
};

// A control with a hover look of its own (fade, frames) that the form's fade-in must not hold back: the skinned form
// tells its active control just before it fades in, and the control shows its focused look at its next step.
class IbsFadeInControl {
  public:
    virtual ~IbsFadeInControl() = default;
    virtual void StopAnimateForFadeIn() = 0;
};
