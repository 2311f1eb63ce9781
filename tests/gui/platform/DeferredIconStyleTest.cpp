// The overflow buttons' icons, read only when first shown, look as the desktop style's own.

#include "platform/framework/internal/DeferredIconStyle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QStyleOption>
#include <QTest>

class DeferredIconStyleTest : public QObject {
    Q_OBJECT

private slots:
    void overflowIconsLookLikeTheStylesOwn_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("direction");
        QTest::newRow("toolbar, left to right")
            << int(QStyle::SP_ToolBarHorizontalExtensionButton) << int(Qt::LeftToRight);
        QTest::newRow("toolbar, right to left")
            << int(QStyle::SP_ToolBarHorizontalExtensionButton) << int(Qt::RightToLeft);
        QTest::newRow("vertical toolbar")
            << int(QStyle::SP_ToolBarVerticalExtensionButton) << int(Qt::LeftToRight);
    }

    void overflowIconsLookLikeTheStylesOwn() {
        QFETCH(int, icon);
        QFETCH(int, direction);
        const auto standard = QStyle::StandardPixmap(icon);
        DeferredIconStyle style;
        QStyleOption option;
        option.direction = Qt::LayoutDirection(direction);
        const QIcon deferred = style.standardIcon(standard, &option);
        const QIcon own = style.baseStyle()->standardIcon(standard, &option);
        QVERIFY(!own.isNull());
        QVERIFY(!deferred.isNull());
        QCOMPARE(deferred.availableSizes(), own.availableSizes());
        for (const int size : {16, 24, 32}) {
            QCOMPARE(deferred.pixmap(size).toImage(), own.pixmap(size).toImage());
            QCOMPARE(deferred.pixmap(QSize(size, size), 2.0).toImage(),
                     own.pixmap(QSize(size, size), 2.0).toImage());
            QCOMPARE(deferred.pixmap(size, QIcon::Disabled).toImage(),
                     own.pixmap(size, QIcon::Disabled).toImage());
        }
        // A copy made before the icon is read shows it too.
        const QIcon copy = style.standardIcon(standard, &option);
        QIcon detached = copy;
        detached.detach();
        QCOMPARE(detached.pixmap(16).toImage(), own.pixmap(16).toImage());
    }

    void directionChoosesTheArrow() {
        DeferredIconStyle style;
        QStyleOption leftToRight;
        leftToRight.direction = Qt::LeftToRight;
        QStyleOption rightToLeft;
        rightToLeft.direction = Qt::RightToLeft;
        const auto standard = QStyle::SP_ToolBarHorizontalExtensionButton;
        QVERIFY(style.standardIcon(standard, &leftToRight).pixmap(16).toImage() !=
                style.standardIcon(standard, &rightToLeft).pixmap(16).toImage());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DeferredIconStyleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DeferredIconStyleTest.moc"
