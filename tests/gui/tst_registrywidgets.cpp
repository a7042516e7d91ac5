#include "components/ui/LumRegistryWidgets.h"
#include "components/ui/MessageBoxes.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

#include <algorithm>
#include <memory>

namespace LW = LumRegistryWidgets;

class TestRegistryWidgets : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowTests::PrivateSettingsFolder> m_dir;
    WindowTests::MessageBoxRecorder m_messages;
    std::unique_ptr<TLumRegistryEnhanced> m_store;
    const QString m_formValue = QStringLiteral("FormInfo\\Main Window");

    static QStringList captions(const QMenu &menu)
    {
        QStringList out;
        for (const QAction *a : menu.actions())
            out.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    static QStringList checkedItems(const QListWidget &list)
    {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out.append(list.item(i)->text() +
                       (list.item(i)->checkState() == Qt::Checked ? "+" : "-"));
        return out;
    }
    static void fillCheckList(QListWidget &list, const QStringList &texts, bool checked)
    {
        for (const QString &t : texts) {
            auto *item = new QListWidgetItem(t);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            list.addItem(item);
        }
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<WindowTests::PrivateSettingsFolder>();
        QVERIFY(m_dir->isValid());
        m_store.reset(TLumRegistryEnhanced::makeProgramStore());
        m_messages.clear();
    }
    void cleanup()
    {
        m_store.reset();
        m_dir.reset();
    }

    void formInfoRoundTrip()
    {
        // Within the offscreen platform's screen of 800 by 600, which a placement is kept on.
        QWidget saved;
        saved.setGeometry(120, 80, 600, 400);
        LW::SetFormInfo(*m_store, m_formValue, &saved);
        const QSize frame = saved.frameGeometry().size() - saved.size();
        QCOMPARE(m_store->GetValue(m_formValue),
                 QVariant(QStringLiteral("%1, 120, 80, %2, wsNormal")
                              .arg(400 + frame.height())
                              .arg(600 + frame.width())));

        QWidget restored;
        restored.setGeometry(10, 10, 200, 100);
        LW::GetFormInfo(*m_store, m_formValue, &restored, true);
        QCOMPARE(restored.frameGeometry(), saved.frameGeometry());
        QVERIFY(!restored.isMaximized());
    }

    // A placement restored before the window is first shown must not make the window grow by
    // its frame at every start.
    void formInfoRestoredBeforeShowKeepsTheOuterSize()
    {
        QSize stored;
        {
            QWidget first;
            first.setGeometry(120, 80, 700, 500);
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            LW::SetFormInfo(*m_store, m_formValue, &first);
            stored = first.frameGeometry().size();
        }
        for (int run = 0; run < 3; ++run) {
            QWidget next;
            LW::GetFormInfo(*m_store, m_formValue, &next, true);
            next.show();
            QVERIFY(QTest::qWaitForWindowExposed(&next));
            QTRY_COMPARE(next.frameGeometry().size(), stored);
            LW::SetFormInfo(*m_store, m_formValue, &next);
        }
    }

    void maximisedAndMinimisedStates()
    {
        QWidget saved;
        saved.setGeometry(120, 80, 500, 400);
        saved.setWindowState(Qt::WindowMaximized);
        LW::SetFormInfo(*m_store, m_formValue, &saved);
        QVERIFY(m_store->GetValue(m_formValue).toString().endsWith(", wsMaximized"));
        QWidget restored;
        LW::GetFormInfo(*m_store, m_formValue, &restored, false);
        QVERIFY(restored.isMaximized());

        // A minimised window is stored with an empty state and leaves the state alone.
        saved.setWindowState(Qt::WindowMinimized);
        LW::SetFormInfo(*m_store, m_formValue, &saved);
        QVERIFY(m_store->GetValue(m_formValue).toString().endsWith(", "));
        LW::GetFormInfo(*m_store, m_formValue, &restored, false);
        QVERIFY(restored.isMaximized());
    }

    void centredOnlyWithoutPlacement()
    {
        QWidget form;
        form.setGeometry(7, 9, 400, 300);
        LW::GetFormInfo(*m_store, m_formValue, &form, false);
        QCOMPARE(form.pos(), QPoint(7, 9));

        LW::GetFormInfo(*m_store, m_formValue, &form, true);
        const QRect screen = form.screen()->geometry();
        QCOMPARE(form.frameGeometry().topLeft(),
                 screen.topLeft() + TLumRegistryEnhanced::CenteredPosition(
                                        screen.size(), form.frameGeometry().size()));

        // A placement that is not in the five-piece form neither moves nor centres the window.
        form.move(7, 9);
        m_store->SetValue(m_formValue, QStringLiteral("600,120,80,900,wsNormal"));
        LW::GetFormInfo(*m_store, m_formValue, &form, true);
        QCOMPARE(form.pos(), QPoint(7, 9));
    }

    void warningForUndesignedPosition()
    {
        QWidget form;
        m_store->SetValue(m_formValue, QStringLiteral("400, 120, 80, 600, wsNormal"));
        LW::GetFormInfo(*m_store, m_formValue, &form, true);
        QVERIFY(m_messages.boxes.isEmpty());
        form.setProperty("Position", QStringLiteral("poScreenCenter"));
        LW::GetFormInfo(*m_store, m_formValue, &form, true);
        QStringList shown;
        for (const MessageBoxes::Request &request : m_messages.boxes)
            shown.append(request.text);
        QCOMPARE(shown, QStringList{TLumRegistryEnhanced::PositionWarningText("QWidget")});
        QCOMPARE(form.frameGeometry().topLeft(), QPoint(120, 80)); // still applied
    }

    // A stored placement with any numbers, hand-edited or from a screen that is gone, brings
    // the window back on a screen, whole.
    void restoredPlacementStaysOnScreen_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("largest numbers")
            << "2147483647, 2147483647, 2147483647, 2147483647, wsNormal";
        QTest::newRow("smallest numbers")
            << "-2147483648, -2147483648, -2147483648, -2147483648, wsNormal";
        QTest::newRow("far off the screen") << "300, 100000, -100000, 400, wsNormal";
        QTest::newRow("larger than the screen, maximised") << "5000, 10, 10, 5000, wsMaximized";
    }
    void restoredPlacementStaysOnScreen()
    {
        QFETCH(QString, stored);
        m_store->SetValue(m_formValue, stored);
        QWidget form;
        LW::GetFormInfo(*m_store, m_formValue, &form, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect normal = form.isMaximized() ? form.normalGeometry() : form.frameGeometry();
        const QList<QScreen *> screens = QGuiApplication::screens();
        QVERIFY2(std::any_of(screens.begin(), screens.end(),
                             [&normal](const QScreen *s) {
                                 return s->availableGeometry().contains(normal);
                             }),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(normal.x())
                                .arg(normal.y())
                                .arg(normal.width())
                                .arg(normal.height())));
        QVERIFY(!normal.isEmpty());
    }

    void menuRoundTrip()
    {
        QMenu saved;
        saved.addAction(QStringLiteral("/home/u/a.xml"));
        saved.addSeparator();
        saved.addAction(QStringLiteral("/home/u/b && c.xml"));
        LW::SetMenu(*m_store, QStringLiteral("History Lists\\Open"), &saved);
        QCOMPARE(m_store->GetValue(QStringLiteral("History Lists\\Open\\Count")), QVariant(3));

        QMenu restored;
        restored.addAction(QStringLiteral("old entry"));
        QAction *clicked = nullptr;
        QCOMPARE(LW::GetMenu(*m_store, QStringLiteral("History Lists\\Open"), &restored,
                             [&clicked](QAction *a) { clicked = a; }),
                 &restored);
        QCOMPARE(captions(restored), captions(saved));
        restored.actions().at(2)->trigger();
        QCOMPARE(clicked, restored.actions().at(2));

        QMenu untouched;
        untouched.addAction(QStringLiteral("keep"));
        LW::GetMenu(*m_store, QStringLiteral("History Lists\\Import"), &untouched, {});
        QCOMPARE(captions(untouched), QStringList{"keep"});
    }

    void checkListRoundTrip()
    {
        QListWidget saved;
        fillCheckList(saved, {"France", "Spain"}, false);
        saved.item(0)->setCheckState(Qt::Checked);
        LW::SetCheckListBox(*m_store, QStringLiteral("Countries"), &saved);

        QListWidget restored;
        restored.setSortingEnabled(true);
        fillCheckList(restored, {"Austria", "Belgium", "Zambia"}, true);
        LW::GetCheckListBox(*m_store, QStringLiteral("Countries"), &restored, true);
        QCOMPARE(checkedItems(restored), (QStringList{"France+", "Spain-"}));
        QVERIFY(restored.item(1)->flags() & Qt::ItemIsUserCheckable);

        QListWidget firstTime;
        fillCheckList(firstTime, {"A", "B"}, false);
        LW::GetCheckListBox(*m_store, QStringLiteral("Missing"), &firstTime, false);
        QCOMPARE(checkedItems(firstTime), (QStringList{"A-", "B-"}));
        LW::GetCheckListBox(*m_store, QStringLiteral("Missing"), &firstTime, true);
        QCOMPARE(checkedItems(firstTime), (QStringList{"A+", "B+"}));
    }

    void fontColumnsAndDropDown()
    {
        QFont font(QStringLiteral("DejaVu Sans"), 11);
        font.setBold(true);
        LW::SetFont(*m_store, QStringLiteral("Fonts\\Main"), font, QColor(Qt::red));
        QFont readFont;
        QColor colour;
        QVERIFY(LW::GetFont(*m_store, QStringLiteral("Fonts\\Main"), readFont, colour));
        QCOMPARE(readFont.family(), font.family());
        QCOMPARE(readFont.pointSize(), 11);
        QVERIFY(readFont.bold() && !readFont.italic());
        QCOMPARE(colour, QColor(Qt::red));

        QStandardItemModel model(1, 3);
        QTreeView view;
        view.setModel(&model);
        view.header()->resizeSection(0, 120);
        view.header()->resizeSection(1, 80);
        LW::SetListViewInfo(*m_store, QStringLiteral("Columns"), view.header());
        view.header()->resizeSection(0, 10);
        QVERIFY(LW::GetListViewInfo(*m_store, QStringLiteral("Columns"), view.header()));
        QCOMPARE(view.header()->sectionSize(0), 120);
        QCOMPARE(view.header()->sectionSize(1), 80);

        QComboBox saved;
        saved.addItems({"one", "two"});
        saved.setCurrentIndex(1);
        LW::SetComboBox(*m_store, QStringLiteral("Combo"), &saved, true);
        QComboBox restored;
        QVERIFY(LW::GetComboBox(*m_store, QStringLiteral("Combo"), &restored, true));
        QCOMPARE(restored.count(), 2);
        QCOMPARE(restored.currentText(), QStringLiteral("two"));
    }
};

QTEST_MAIN(TestRegistryWidgets)
#include "tst_registrywidgets.moc"
