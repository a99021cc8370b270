#include "DesktopPlatform.h"
#include "HelpViewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace latcap {
namespace {

// Acts on the next modal dialog from inside its own event loop, as a user
// would, and gives up after a while so that a dialog that never opens
// fails the test instead of hanging it.
void OnNextModal(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act, tries = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && ++tries < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr)
            act(modal);
    });
    timer->start();
}

} // namespace

class DesktopPlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("report files") << u"CSV files(*.csv)|*.csv|All files (*.*)|*.*"_s << QStringList{u"CSV files(*.csv)"_s, u"All files (*.*)"_s};
        QTest::newRow("name without its pattern gets it") << u"Text|*.txt"_s << QStringList{u"Text (*.txt)"_s};
        QTest::newRow("name without a pattern is dropped") << u"PDF files(*.pdf)|*.pdf|Other"_s << QStringList{u"PDF files(*.pdf)"_s};
        // clang-format on
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(NameFilters(filter), expected);
    }

    void showMessage_data()
    {
        QTest::addColumn<Platform::Buttons>("buttons");
        QTest::addColumn<int>("click"); // a QMessageBox::StandardButton, or none and a key
        QTest::addColumn<int>("key");
        QTest::addColumn<Platform::Answer>("expected");
        using B = Platform::Buttons;
        using A = Platform::Answer;
        // clang-format off
        QTest::newRow("OK alone") << B::Ok << int(QMessageBox::Ok) << 0 << A::Ok;
        QTest::newRow("Cancel") << B::OkCancel << int(QMessageBox::Cancel) << 0 << A::Cancel;
        QTest::newRow("Enter takes OK, the default") << B::OkCancel << 0 << int(Qt::Key_Return) << A::Ok;
        QTest::newRow("Escape cancels") << B::OkCancel << 0 << int(Qt::Key_Escape) << A::Cancel;
        // clang-format on
    }

    void showMessage()
    {
        QFETCH(Platform::Buttons, buttons);
        QFETCH(int, click);
        QFETCH(int, key);
        QFETCH(Platform::Answer, expected);

        // Title, text, icon, buttons and whether OK is the default, as shown.
        QStringList seen;
        OnNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) {
                modal->close();
                return;
            }
            const bool okIsDefault = box->button(QMessageBox::Ok) != nullptr
                && box->defaultButton() == box->button(QMessageBox::Ok);
            seen = QStringList { box->windowTitle(), box->text(), QString::number(box->icon()),
                QString::number(box->standardButtons().toInt()), okIsDefault ? u"OK is the default"_s : QString() };
            if (key != 0)
                QTest::keyClick(box, Qt::Key(key));
            else
                box->button(QMessageBox::StandardButton(click))->click();
        });

        DesktopPlatform platform;
        const Platform::Answer answer
            = platform.showMessage(nullptr, u"Warning"_s, u"Replace Existing File ?"_s, buttons);

        QCOMPARE(answer, expected);
        const QMessageBox::StandardButtons shown = buttons == Platform::Buttons::Ok
            ? QMessageBox::StandardButtons(QMessageBox::Ok)
            : QMessageBox::Ok | QMessageBox::Cancel;
        QCOMPARE(seen,
            QStringList({ u"Warning"_s, u"Replace Existing File ?"_s, QString::number(QMessageBox::NoIcon),
                QString::number(shown.toInt()), u"OK is the default"_s }));
    }

    void getSaveFileName_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("initialName");
        QTest::newRow("a chosen existing file is given back without a question") << true << QString();
        QTest::newRow("the initial name is offered") << true << u"first.csv"_s;
        QTest::newRow("Cancel gives an empty name") << false << QString();
    }

    void getSaveFileName()
    {
        QFETCH(bool, accept);
        QFETCH(QString, initialName);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString chosen = dir.filePath(u"report"_s);
        {
            QFile existing(chosen);
            QVERIFY(existing.open(QIODevice::WriteOnly));
        }
        // Title, filters, the one selected, the name offered, mode, own overwrite
        // question and default suffix, as shown.
        QStringList seen;
        OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            // With no name typed, the dialog gives back its folder.
            const QFileInfo offered(dialog->selectedFiles().value(0));
            seen = QStringList { dialog->windowTitle(), dialog->nameFilters().join(u'|'), dialog->selectedNameFilter(),
                offered.isDir() ? QString() : offered.fileName(),
                dialog->acceptMode() == QFileDialog::AcceptSave ? u"save"_s : u"open"_s,
                dialog->testOption(QFileDialog::DontConfirmOverwrite) ? u"no question"_s : u"asks"_s,
                dialog->defaultSuffix() };
            if (!accept) {
                dialog->reject();
                return;
            }
            // Typed over the offered name, as a user would; choosing the file
            // in the list depends on how far the folder has been read.
            dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(chosen);
            static_cast<QDialog*>(dialog)->accept();
            // An overwrite question of the dialog's own would still be open now.
            if (QWidget* question = QApplication::activeModalWidget(); question != nullptr && question != dialog)
                question->close();
        });

        DesktopPlatform platform;
        const QString answer = platform.getSaveFileName(
            nullptr, u"Save Report"_s, u"CSV files(*.csv)|*.csv|All files (*.*)|*.*"_s,
            initialName);

        QCOMPARE(answer, accept ? chosen : QString());
        QCOMPARE(seen,
            QStringList({ u"Save Report"_s, u"CSV files(*.csv)|All files (*.*)"_s, u"CSV files(*.csv)"_s, initialName,
                u"save"_s, u"no question"_s, QString() }));
    }

    void printPageWithoutPrinter()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed on this machine");
        DesktopPlatform platform;
        QString error;
        QImage page(100, 100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QVERIFY(!platform.printPage(page, error));
        QCOMPARE(error, u"No printer is installed."_s);
    }

    void showHelpOpensTheViewerOrSaysWhereItLooked()
    {
        QStringList lookedIn;
        const QString found = FindHelpFile(&lookedIn);
        DesktopPlatform platform;
        if (found.isEmpty()) {
            QString text;
            OnNextModal([&](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    text = box->text();
                modal->close();
            });
            platform.showHelp(nullptr);
            QVERIFY(text.contains(u"Latcap.chm"_s));
            for (const QString& folder : lookedIn)
                QVERIFY2(text.contains(folder), qPrintable(folder));
            return;
        }
        platform.showHelp(nullptr);
        platform.showHelp(nullptr);
        const QList<HelpViewer*> viewers = [] {
            QList<HelpViewer*> open;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* viewer = qobject_cast<HelpViewer*>(w))
                    open.append(viewer);
            return open;
        }();
        QCOMPARE(viewers.size(), 1);
        QCOMPARE(viewers[0]->chmPath(), found);
        QVERIFY(viewers[0]->isVisible());
        delete viewers[0];
    }
};

} // namespace latcap

QTEST_MAIN(latcap::DesktopPlatformTest)
#include "DesktopPlatformTest.moc"
