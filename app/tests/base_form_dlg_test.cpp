// The Find Base Form dialog: its texts, where the focus starts, what OK and
// Cancel hand back, and how typed text becomes cp1253.

#include "lexicon/qt/base_form_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/qt_platform.h"
#include "app/tests/gui_test_support.h"

using namespace tavro;
using namespace tavro::testing;

namespace {

QLineEdit* Edit(QWidget* dlg) {
    return dlg->findChild<QLineEdit*>(QStringLiteral("IDC_INFLECTED_WORD"));
}

}  // namespace

class BaseFormDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void textsAndFocus() {
        CBaseFormDlg dlg;
        QWidget* focused = nullptr;
        QWidget* afterOk = nullptr;
        QTimer::singleShot(0, &dlg, [&] {
            focused = dlg.focusWidget();
            afterOk = dlg.findChild<QPushButton*>(QStringLiteral("IDOK"))->nextInFocusChain();
            dlg.reject();
        });
        dlg.exec();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Find Base Form"));
        QCOMPARE(dlg.findChild<QLabel*>()->text(),
                 QStringLiteral("Please enter the inflected form of the noun:"));
        // The buttons come first in the tab order; the edit box still has the focus.
        QCOMPARE(focused, static_cast<QWidget*>(Edit(&dlg)));
        QCOMPARE(afterOk,
                 static_cast<QWidget*>(dlg.findChild<QPushButton*>(QStringLiteral("IDCANCEL"))));
        QVERIFY(dlg.findChild<QPushButton*>(QStringLiteral("IDOK"))->isDefault());
    }

    void enterAcceptsTheTextAsTyped() {
        CBaseFormDlg dlg;
        QTimer::singleShot(0, &dlg, [&dlg] {
            QTest::keyClicks(Edit(&dlg), QStringLiteral("  "));
            QTest::keyClick(Edit(&dlg), Qt::Key_Return);
        });
        QCOMPARE(dlg.exec(), int(QDialog::Accepted));
        QCOMPARE(dlg.m_strWord, QStringLiteral("  "));
    }

    void cancelHandsBackNothing() {
        TestData data;
        ScriptedHooks hooks;
        const ShellHooks shellHooks = hooks.Make();
        PosixFileSystem files;
        QtPlatform platform(shellHooks, files);
        OnNext<CBaseFormDlg>([](CBaseFormDlg* dlg) {
            QTest::keyClicks(Edit(dlg), QStringLiteral("abc"));
            dlg->findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
        });
        QVERIFY(!platform.AskInflectedWord().has_value());
    }

    void typedTextBecomesCp1253() {
        ScriptedHooks hooks;
        const ShellHooks shellHooks = hooks.Make();
        PosixFileSystem files;
        QtPlatform platform(shellHooks, files);
        // Decomposed text is composed: ο + U+0301 is ό.
        OnNext<CBaseFormDlg>([](CBaseFormDlg* dlg) {
            Edit(dlg)->setText(QString::fromUtf8("\u0394\u03C1\u03BF\u0301\u03BC\u03BF\u03C5"));
            dlg->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
        });
        QCOMPARE(platform.AskInflectedWord(), std::optional<std::string>(Greek("Δρόμου")));
        QVERIFY(hooks.messages.isEmpty());
    }

    void lettersCp1253LacksAreNamedInsteadOfLookedUp() {
        ScriptedHooks hooks;
        const ShellHooks shellHooks = hooks.Make();
        PosixFileSystem files;
        QtPlatform platform(shellHooks, files);
        OnNext<CBaseFormDlg>([](CBaseFormDlg* dlg) {
            Edit(dlg)->setText(QString::fromUtf8("Δρόμου\u0416\u0416\U0001F600"));
            dlg->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
        });
        QVERIFY(!platform.AskInflectedWord().has_value());
        QCOMPARE(hooks.messages,
                 QStringList({QString::fromUtf8(
                     "The word 'Δρόμου\u0416\u0416\U0001F600' holds characters that code page "
                     "1253 cannot hold: \u0416, \U0001F600. The lexicon and the texts are read "
                     "as code page 1253, so no noun can match it.")}));
    }
};

QTEST_MAIN(BaseFormDlgTest)
#include "base_form_dlg_test.moc"
