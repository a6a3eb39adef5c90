#include "platform/qt/accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QRadioButton>

#include "platform/accessible_names.h"
#include "platform/qt/dialog_window.h"

namespace ostrova::platform::qt {
namespace {

// With autoExclusive off, Qt announces a radio button as a check box: the framework's radio
// buttons get their role back, with their check and a press that clicks as the user does.
class RadioAccessible : public QAccessibleWidget {
public:
    explicit RadioAccessible(QAbstractButton* radio)
        : QAccessibleWidget(radio, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = QString::fromStdString(StripMnemonic(button()->text().toStdString()));
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();  // does nothing while disabled
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* FrameworkAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("QRadioButton")) return nullptr;
    auto* radio = dynamic_cast<FrameworkCheckedButton<QRadioButton>*>(object);
    return radio != nullptr ? new RadioAccessible(radio) : nullptr;
}

}  // namespace

void InstallAccessibility() {
    QAccessible::installFactory(FrameworkAccessible);
}

void DialogWindow::LinkLabels() {
    for (const AccessibleLink& link : AccessibleLinks(dlg_.dialogTemplate())) {
        QWidget* target = control(link.control);
        // Qt names a control after its buddy label's current text, so a label that changes
        // keeps naming it.
        if (link.label >= 0) static_cast<QLabel*>(control(link.label))->setBuddy(target);
        if (!link.name.empty()) target->setAccessibleName(QString::fromStdString(link.name));
        if (!link.description.empty())
            target->setAccessibleDescription(QString::fromStdString(link.description));
    }
}

}  // namespace ostrova::platform::qt
