// Delphi's "BeginUpdate; try ... finally EndUpdate; end" for the lists and collections of the class library.
#pragma once

// Target.BeginUpdate(), Body(), then Target.EndUpdate() whether or not Body throws. A function rather than a guard
// object: EndUpdate fires the change events, which may throw, and a destructor must not.
template <typename Target, typename Body>
void WithUpdate(Target& target, Body&& body) {
    target.BeginUpdate();
    try {
        body();
    } catch (...) {
        target.EndUpdate();
        throw;
    }
    target.EndUpdate();
}
