// The yardstick for the program's start-up: a bare QDialog holding plain widgets of the same
// kinds, count, places and font as the settings window's template, and nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "first_paint.h"
#include "res/templates.h"

int main(int argc, char** argv) {
    using ostrova::platform::ControlKind;
    FirstPaint firstPaint;
    QApplication app(argc, argv);
    app.installEventFilter(&firstPaint);
    const auto& tpl = ostrova::res::MainTemplate();
    QDialog dialog;
    QFont font("Times New Roman");
    font.setPixelSize(13);
    dialog.setFont(font);
    dialog.setWindowTitle(
        QString::fromLatin1(tpl.title.data(), static_cast<int>(tpl.title.size())));
    dialog.resize(tpl.width * 7 / 4, tpl.height * 15 / 8);  // the base units of that font
    for (const auto& c : tpl.controls) {
        const QString text = QString::fromLatin1(c.text.data(), static_cast<int>(c.text.size()));
        QWidget* w = nullptr;
        switch (c.kind) {
            case ControlKind::PushButton:
                w = new QPushButton(text, &dialog);
                break;
            case ControlKind::RadioButton:
                w = new QRadioButton(text, &dialog);
                break;
            case ControlKind::CheckBox:
                w = new QCheckBox(text, &dialog);
                break;
            case ControlKind::GroupBox:
                w = new QGroupBox(text, &dialog);
                break;
            case ControlKind::Edit:
                w = new QLineEdit(&dialog);
                break;
            case ControlKind::ComboDropDown:
            case ControlKind::ComboDropList: {
                auto* combo = new QComboBox(&dialog);
                combo->setEditable(c.kind == ControlKind::ComboDropDown);
                combo->addItems({"one", "two", "three"});
                w = combo;
                break;
            }
            default:
                w = new QLabel(text, &dialog);
                break;
        }
        w->setGeometry((c.rect.x * 7 + 2) / 4, (c.rect.y * 15 + 4) / 8, (c.rect.w * 7 + 2) / 4,
                       (c.rect.h * 15 + 4) / 8);
    }
    dialog.exec();
    return 0;
}
