#include "DesktopPlatform.h"

#include <QtTest>
#include <QtWidgets>

#include <QPrinterInfo>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

    // Acts on the next modal dialog from inside its own event loop, as a user
    // would; a dialog that never opens fails the test instead of hanging it.
    void OnNextModal(const std::function<QStringList(QWidget*)>& act, QStringList& seen)
    {
        auto* timer = new QTimer(qApp);
        QObject::connect(timer, &QTimer::timeout, [timer, act, &seen, tries = 0]() mutable {
            if (QWidget* modal = QApplication::activeModalWidget())
                seen = act(modal);
            else if (++tries < 500)
                return;
            timer->deleteLater();
        });
        timer->start(10);
    }

} // namespace

class DesktopPlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QCOMPARE(QApplication::topLevelWidgets().size(), 0); }

    void showMessage_data()
    {
        QTest::addColumn<Platform::Buttons>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<Platform::Answer>("expected");
        QTest::newRow("OK alone, Escape") << Platform::Buttons::Ok << int(Qt::Key_Escape) << Platform::Answer::Ok;
        QTest::newRow("Enter takes OK, the default")
            << Platform::Buttons::OkCancel << int(Qt::Key_Return) << Platform::Answer::Ok;
        QTest::newRow("Escape cancels") << Platform::Buttons::OkCancel << int(Qt::Key_Escape)
                                        << Platform::Answer::Cancel;
    }

    void showMessage()
    {
        QFETCH(Platform::Buttons, buttons);
        QFETCH(int, key);
        QFETCH(Platform::Answer, expected);
        QStringList seen; // title, text, icon, buttons, default button, as shown
        OnNextModal(
            [key](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                const QStringList shown { box->windowTitle(), box->text(), QString::number(box->icon()),
                    QString::number(box->standardButtons().toInt()),
                    QString::number(box->standardButton(box->defaultButton())) };
                QTest::keyClick(box, Qt::Key(key));
                return shown;
            },
            seen);

        QCOMPARE(DesktopPlatform().showMessage(nullptr, u"Warning"_s, u"Replace Existing File ?"_s, buttons), expected);
        const int shown = buttons == Platform::Buttons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel;
        QCOMPARE(seen,
            QStringList({ u"Warning"_s, u"Replace Existing File ?"_s, QString::number(QMessageBox::NoIcon),
                QString::number(shown), QString::number(QMessageBox::Ok) }));
    }

    void getSaveFileName_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("a typed existing file comes back without a question") << true;
        QTest::newRow("Cancel gives an empty name") << false;
    }

    void getSaveFileName()
    {
        QFETCH(bool, accept);
        QTemporaryDir dir;
        const QString chosen = dir.filePath(u"report"_s);
        QVERIFY(QFile(chosen).open(QIODevice::WriteOnly));
        QStringList seen; // title, filters, the one selected, the name offered, mode, own question, suffix
        OnNextModal(
            [accept, chosen](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                const QStringList shown { dialog->windowTitle(), dialog->nameFilters().join(u'|'),
                    dialog->selectedNameFilter(), dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->text(),
                    QString::number(dialog->acceptMode()),
                    QString::number(dialog->testOption(QFileDialog::DontConfirmOverwrite)), dialog->defaultSuffix() };
                dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(chosen);
                accept ? dialog->QDialog::accept() : dialog->reject();
                return shown;
            },
            seen);

        const QString answer = DesktopPlatform().getSaveFileName(
            nullptr, u"Save Report"_s, u"CSV files(*.csv)|*.csv|All files (*.*)|*.*"_s, u"first.csv"_s);

        QCOMPARE(answer, accept ? chosen : QString());
        QCOMPARE(seen,
            QStringList({ u"Save Report"_s, u"CSV files(*.csv)|All files (*.*)"_s, u"CSV files(*.csv)"_s,
                u"first.csv"_s, QString::number(QFileDialog::AcceptSave), u"1"_s, QString() }));
    }

    void printPageWithoutPrinter()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed on this machine");
        QString error;
        QVERIFY(!DesktopPlatform().printPage(QImage(10, 10, QImage::Format_RGB32), error));
        QCOMPARE(error, u"No printer is installed."_s);
    }
};

} // namespace latcap

QTEST_MAIN(latcap::DesktopPlatformTest)
#include "DesktopPlatformTest.moc"
