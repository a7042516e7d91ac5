#include "components/ScreenPlacement.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(TFormPlacement)

// Fitting a stored window placement onto the screens there are now.
class TestScreenPlacement : public QObject
{
    Q_OBJECT

private slots:
    void fit_data()
    {
        constexpr int kMax = std::numeric_limits<int>::max();
        constexpr int kMin = std::numeric_limits<int>::min();
        // Two screens side by side, the right one higher and smaller, as available areas.
        const QList<QRect> two{{0, 0, 1920, 1040}, {1920, -200, 1280, 984}};

        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<TFormPlacement>("stored");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<QSize>("minimum");

        QTest::newRow("inside the first screen, unchanged")
            << two << TFormPlacement{600, 120, 80, 900, {}} << QRect(120, 80, 900, 600)
            << QSize(1, 1);
        QTest::newRow("inside the second screen, unchanged")
            << two << TFormPlacement{500, 2000, -150, 700, {}} << QRect(2000, -150, 700, 500)
            << QSize(1, 1);
        QTest::newRow("across both, kept on the one it covers most")
            << two << TFormPlacement{400, 1800, 100, 600, {}} << QRect(1920, 100, 600, 400)
            << QSize(1, 1);
        QTest::newRow("partly below the bottom, pulled up")
            << two << TFormPlacement{600, 100, 900, 800, {}} << QRect(100, 440, 800, 600)
            << QSize(1, 1);
        QTest::newRow("larger than its screen, shrunk to it")
            << two << TFormPlacement{1500, 2000, 0, 3000, {}} << QRect(1920, -200, 1280, 984)
            << QSize(1, 1);
        QTest::newRow("far right of every screen, onto the nearest")
            << two << TFormPlacement{300, 90000, 0, 400, {}} << QRect(2800, 0, 400, 300)
            << QSize(1, 1);
        QTest::newRow("far above the left screen")
            << two << TFormPlacement{300, 10, -50000, 400, {}} << QRect(10, 0, 400, 300)
            << QSize(1, 1);
        QTest::newRow("extreme numbers") << two << TFormPlacement{kMax, kMax, kMax, kMax, {}}
                                         << QRect(1920, -200, 1280, 984) << QSize(1, 1);
        QTest::newRow("extreme negative numbers")
            << two << TFormPlacement{kMin, kMin, kMin, kMin, {}} << QRect(0, 0, 1, 1)
            << QSize(1, 1);
        QTest::newRow("position at the end of the range")
            << two << TFormPlacement{600, kMax, kMin, 800, {}} << QRect(2400, -200, 800, 600)
            << QSize(1, 1);
        QTest::newRow("no size") << two << TFormPlacement{0, 300, 200, -5, {}}
                                 << QRect(300, 200, 1, 1) << QSize(1, 1);
        QTest::newRow("below the smallest size") << two << TFormPlacement{10, 300, 200, -5, {}}
                                                 << QRect(300, 200, 160, 120) << QSize(160, 120);
        QTest::newRow("smallest size beyond the screen")
            << two << TFormPlacement{10, 1900, 0, 10, {}} << QRect(1920, -200, 1280, 984)
            << QSize(5000, 5000);
        QTest::newRow("no screen: numbers bounded")
            << QList<QRect>{} << TFormPlacement{kMax, kMin, 40, kMax, {}}
            << QRect(-(1 << 20), 40, 1 << 20, 1 << 20) << QSize(1, 1);
    }
    void fit()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(TFormPlacement, stored);
        QFETCH(QRect, expected);
        QFETCH(QSize, minimum);
        QCOMPARE(FitPlacementToScreens(stored, screens, minimum), expected);
    }
};

QTEST_APPLESS_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
