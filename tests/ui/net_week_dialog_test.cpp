// The week dialog "Выбор недели" and the real dialogs interface that shows it.
#include "gui/widgets/dialogs.h"
#include "gui/widgets/week_choice_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace brevio;

class NetWeekDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void looksAsDesigned()
    {
        WeekChoiceDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Выбор недели"));
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->text(),
                 QStringLiteral("Выберите в выпадающем списке телепрограммы какой недели вас "
                                "интересуют (по дате понедельника):"));
        QVERIFY(dialog.findChild<QComboBox*>(QStringLiteral("ComboBox1"))->isEditable());
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->text(),
                 QStringLiteral("Выбрать"));
        // Fixed size, and no buttons in the title bar.
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QVERIFY(!(flags & Qt::WindowCloseButtonHint));
        QVERIFY(!(flags & Qt::WindowMinMaxButtonsHint));
        QVERIFY(!(flags & Qt::WindowSystemMenuHint));
    }

    void firstWeekProposedAndTypedTextWins()
    {
        WeekChoiceDialog dialog;
        dialog.setWeeks({QStringLiteral("12.01.2004"), QStringLiteral("05.01.2004")});
        QCOMPARE(dialog.comboBox()->count(), 2);
        QCOMPARE(dialog.chosenWeek(), QStringLiteral("12.01.2004"));
        dialog.comboBox()->setCurrentIndex(1);
        QCOMPARE(dialog.chosenWeek(), QStringLiteral("05.01.2004"));
        dialog.comboBox()->setEditText(QStringLiteral("19.01.2004"));
        QCOMPARE(dialog.chosenWeek(), QStringLiteral("19.01.2004"));

        dialog.setWeeks({});
        QCOMPARE(dialog.comboBox()->count(), 0);
        QCOMPARE(dialog.chosenWeek(), QString());
    }

    // The real interface shows the dialog modally; whatever closes it, the box's text counts.
    void realDialogsReturnTheBoxText_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("Выбрать") << true;
        QTest::newRow("Escape") << false;
    }

    void realDialogsReturnTheBoxText()
    {
        QFETCH(bool, byButton);
        QtDialogs dialogs;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<WeekChoiceDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seen = true;
            QCOMPARE(dialog->chosenWeek(), QStringLiteral("12.01.2004"));
            QTest::keyClicks(dialog->comboBox()->lineEdit(), QStringLiteral("x"));
            if (byButton)
                QTest::mouseClick(dialog->chooseButton(), Qt::LeftButton);
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const QString chosen
            = dialogs.chooseWeek({QStringLiteral("12.01.2004"), QStringLiteral("05.01.2004")});
        QVERIFY(seen);
        QCOMPARE(chosen, QStringLiteral("12.01.2004x"));
    }
};

QTEST_MAIN(NetWeekDialogTest)
#include "net_week_dialog_test.moc"
