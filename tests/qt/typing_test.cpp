// The toolkit is the oracle: the same random keys typed into a form's edit and into a plain
// QLineEdit beside it give the same text, caret and selection after every key, undo included.
#include <QKeySequence>
#include <QLineEdit>
#include <iostream>
#include <random>
#include <tuple>

#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;

// Typing from a small alphabet, so that runs of equal characters are common, and every key
// that moves, selects, deletes, cuts, pastes or undoes; undo twice as often as each redo.
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier;
// clang-format off
const QKeyCombination kKeys[] = {
    Qt::Key_0, Qt::Key_0, Qt::Key_1, Qt::Key_A, Qt::Key_At,
    Qt::Key_Backspace, Qt::Key_Delete, kCtrl | Qt::Key_Backspace,
    Qt::Key_Left, Qt::Key_Right, kShift | Qt::Key_Left, kShift | Qt::Key_Right,
    Qt::Key_Home, kShift | Qt::Key_End, kCtrl | Qt::Key_A,
    kCtrl | Qt::Key_X, kCtrl | Qt::Key_C, kCtrl | Qt::Key_V,
    kCtrl | Qt::Key_Z, kCtrl | Qt::Key_Z, kCtrl | kShift | Qt::Key_Z, kCtrl | Qt::Key_Y,
};
// clang-format on

// What a field shows: its text, caret, and selection's start and length.
auto ShownBy(const QLineEdit& edit) {
    return std::tuple(edit.text().toStdString(), edit.cursorPosition(), edit.selectionStart(),
                      static_cast<int>(edit.selectedText().size()));
}

struct Typing : QtFixture {
    // Types `steps` random keys into edit `id` of `tpl` and into a plain field of the same
    // echo mode, comparing after each.
    void Compare(const DialogTemplate& tpl, int id, bool password, int steps, unsigned seed) {
        CDialog form(tpl);
        RunDialog(form, [&](DialogWindow& window) {
            auto* mine = qobject_cast<QLineEdit*>(window.control(form.IndexOf(id)));
            ASSERT_NE(mine, nullptr);
            QLineEdit plain(&window);
            plain.setGeometry(0, 0, 200, 20);
            if (password) plain.setEchoMode(QLineEdit::Password);
            mine->setFocus();  // the plain field takes keys without it, and keeps its selection
            std::mt19937 random(seed);
            std::string keys;  // the last ones, for the failure message
            int restarts = 0;
            for (int step = 0; step < steps; ++step) {
                const QKeyCombination k = kKeys[random() % std::size(kKeys)];
                keys = keys.substr(keys.size() > 600 ? keys.size() - 600 : 0) + "\n  " +
                       QKeySequence(k).toString().toStdString() + " -> " +
                       ::testing::PrintToString(ShownBy(plain));
                for (QLineEdit* edit : {&plain, mine})
                    QTest::keyClick(edit, k.key(), k.keyboardModifiers());
                // QLineEdit's redo can leave a state it cannot show: a caret past the text (a
                // step that stops at a separator recorded for a longer text) or a selection
                // that starts before it. The framework keeps its positions inside the text;
                // both fields start afresh from there.
                if (plain.cursorPosition() > plain.text().size() ||
                    (plain.hasSelectedText() && plain.selectionStart() < 0)) {
                    ++restarts;
                    plain.setText("");
                    for (const char* text : {"-", ""}) form.SetItemText(id, text);
                }
                ASSERT_EQ(ShownBy(*mine), ShownBy(plain)) << "after ..." << keys;
                ASSERT_EQ(form.DisplayText(form.IndexOf(id)), mine->text().toStdString());
            }
            EXPECT_LT(restarts, steps / 50);
            std::cout << steps << " keys, seed " << seed << ", " << restarts << " restarts\n";
        });
    }
};

TEST_F(Typing, AFormsEditAndAPasswordEditTypeUndoAndRedoAsPlainFields) {
    Compare(MainTemplate(), IDC_EDIT_IMAGEFROM, false, 6000, 1);
    Compare(EmailSettingTemplate(), IDC_EMAIL_PASSWORD, true, 2000, 2);
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
