// Accessible names and roles of the framework's controls on Qt.
#pragma once

#include <QPoint>

namespace ostrova::platform::qt {

// Check boxes and radio buttons whose check only the framework changes: a click reports the
// click and nothing else, and the framework's state is rendered back. The accessibility
// factory knows the framework's radio buttons by this type.
template <class Button>
class FrameworkCheckedButton : public Button {
public:
    using Button::Button;

protected:
    void nextCheckState() override {}
    // The whole rectangle takes the click, as a Windows button's does, not only the text.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// Gives the framework's controls their accessibility interfaces; needs the QApplication.
void InstallAccessibility();

}  // namespace ostrova::platform::qt
