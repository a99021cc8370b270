#pragma once

#include "FakePlatform.h"
#include "frmLatcap.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace latcap::testing {

// Runs every test in a fresh, empty working directory, where the window looks
// for Latcap.ini and writes its tables, and checks that no test leaves a
// window open.
class WindowTestCase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        workDir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(workDir_->isValid());
        previousDir_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(workDir_->path()));
    }

    void cleanup()
    {
        QDir::setCurrent(previousDir_);
        workDir_.reset();
        for (const QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

private:
    std::unique_ptr<QTemporaryDir> workDir_;
    QString previousDir_;
};

// One window on a recording platform, driven through the keyboard and the
// mouse as a user drives it.
class WindowHarness {
public:
    WindowHarness()
        : window_(std::make_unique<frmLatcap>(platform))
    {
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get()))
            qWarning("the window did not become active");
    }

    frmLatcap& window() { return *window_; }

    template <typename T = QWidget> T* find(const QString& name)
    {
        T* widget = window_->findChild<T*>(name);
        if (widget == nullptr)
            qFatal("no control named %s", qPrintable(name));
        return widget;
    }
    QLineEdit* box(const QString& name) { return find<QLineEdit>(name); }
    QComboBox* list(const QString& name) { return find<QComboBox>(name); }
    QPushButton* button(const QString& name) { return find<QPushButton>(name); }
    QString text(const QString& name)
    {
        QWidget* w = find(name);
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            return edit->text();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->currentText();
        return qobject_cast<QPushButton*>(w)->text();
    }

    // Clears a box or the text field of a list and types `text` into it.
    void type(const QString& name, const QString& text)
    {
        QWidget* w = find(name);
        QWidget* target = w;
        if (auto* combo = qobject_cast<QComboBox*>(w))
            target = combo->lineEdit();
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, text);
    }

    // Types each text into the box or list of the same place in `names`.
    void fill(const QStringList& names, const QStringList& texts)
    {
        QCOMPARE(names.size(), texts.size());
        for (qsizetype i = 0; i < names.size(); ++i)
            type(names[i], texts[i]);
    }

    QStringList texts(const QStringList& names)
    {
        QStringList shown;
        for (const QString& name : names)
            shown << text(name);
        return shown;
    }

    // Opens a list with the mouse on its arrow, moves to the item showing
    // `item` with the arrow keys and takes it with Return.
    void choose(const QString& name, const QString& item)
    {
        QComboBox* combo = list(name);
        const int index = combo->findText(item);
        QVERIFY2(index >= 0, qPrintable(item));
        QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 6, combo->height() / 2));
        QAbstractItemView* view = combo->view();
        QTRY_VERIFY(view->isVisible());
        int current = view->currentIndex().row();
        for (; current < index; ++current)
            QTest::keyClick(view, Qt::Key_Down);
        for (; current > index; --current)
            QTest::keyClick(view, Qt::Key_Up);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
    }

    void click(const QString& name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // One layer of the reference sand: unit weight 18, no cohesion, 30
    // degrees, a pile 0.6 m wide.
    void enterReferenceSand()
    {
        type("txtGama_0", "18");
        type("txtC_0", "0");
        choose("selectFrictionAngle_0", "30");
        type("txtD_0", "0.6");
    }

    // The reference sand with CSF 1, H 50 kN and M 20 kNm, solved by Calc L.
    void calcReferenceDepth()
    {
        enterReferenceSand();
        type("txtCSF", "1");
        type("txtH", "50");
        type("txtM", "20");
        click("cmdCalcL");
    }

    bool resultsShown()
    {
        return !text("lblZr").isEmpty() && button("cmdPrint")->isEnabled() && button("cmdExport")->isEnabled();
    }
    bool resultsCleared()
    {
        return text("lblZr").isEmpty() && text("lblMoment").isEmpty() && text("lblShear").isEmpty()
            && !button("cmdPrint")->isEnabled() && !button("cmdExport")->isEnabled();
    }

    FakePlatform platform;

private:
    std::unique_ptr<frmLatcap> window_;
};

inline QString RowName(const char* array, int row)
{
    return QString::fromLatin1(array) + QLatin1Char('_') + QString::number(row);
}

} // namespace latcap::testing
