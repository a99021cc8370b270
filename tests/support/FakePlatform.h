#pragma once

#include "Platform.h"

#include <QImage>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <optional>

namespace latcap::testing {

// Records every dialog the window asks for and answers from queues, so a test
// can drive a whole command without a modal box on the screen.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString title;
        QString text;
        Buttons buttons;
    };
    struct SaveDialog {
        QString title;
        QString filter;
        QString initialName;
    };

    Answer showMessage(QWidget*, const QString& title, const QString& text, Buttons buttons) override
    {
        messages.append({ title, text, buttons });
        if (whileMessageShown)
            whileMessageShown(messages.last());
        return answers.isEmpty() ? Answer::Ok : answers.dequeue();
    }
    QString getSaveFileName(QWidget*, const QString& title, const QString& filter, const QString& initialName) override
    {
        saveDialogs.append({ title, filter, initialName });
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString getOpenFileName(QWidget*, const QString& title, const QString&) override
    {
        openDialogs.append(title);
        return openNames.isEmpty() ? QString() : openNames.dequeue();
    }
    Unsaved askUnsaved(QWidget*, const QString&, const QString& text) override
    {
        unsavedQuestions.append(text);
        return unsavedAnswers.isEmpty() ? Unsaved::Cancel : unsavedAnswers.dequeue();
    }
    bool editJobDetails(QWidget*, JobDetails& details) override
    {
        jobForms.append(details);
        if (jobAnswers.isEmpty())
            return true;
        const std::optional<JobDetails> answer = jobAnswers.dequeue();
        if (answer)
            details = *answer;
        return answer.has_value();
    }
    bool editForm(QWidget*, const QString& title, std::vector<FormField>& fields) override
    {
        QStringList shown { title };
        for (const FormField& field : fields)
            shown.append(field.label + u'=' + field.value);
        forms.append(shown.join(u'|'));
        if (formAnswers.isEmpty())
            return true;
        const std::optional<QStringList> answer = formAnswers.dequeue();
        for (std::size_t i = 0; answer && i < fields.size(); ++i)
            fields[i].value = answer->value(qsizetype(i), fields[i].value);
        return answer.has_value();
    }
    bool printPage(const QImage& page, QString& error) override
    {
        printed.append(page);
        error = printError;
        return printError.isEmpty();
    }
    void showHelp(QWidget*) override { ++helpRequests; }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Message& m : messages)
            texts.append(m.text);
        return texts;
    }

    QQueue<Answer> answers; // answers to message boxes, OK when empty
    QQueue<QString> fileNames; // answers to the save dialog, cancel when empty
    QQueue<QString> openNames; // answers to the open dialog, cancel when empty
    QQueue<Unsaved> unsavedAnswers; // answers to the unsaved-changes question, cancel when empty
    QQueue<std::optional<JobDetails>> jobAnswers; // to the job form: details, or none to cancel; OK when empty
    QList<JobDetails> jobForms; // what the job form showed
    QQueue<std::optional<QStringList>> formAnswers; // to a form: its texts, or none to cancel; OK when empty
    QStringList forms; // what each form showed: its title and label=value, joined by '|'
    QString printError; // when set, printing fails with this reason
    QList<Message> messages;
    QList<SaveDialog> saveDialogs;
    QStringList openDialogs;
    QStringList unsavedQuestions;
    QList<QImage> printed;
    int helpRequests = 0;
    std::function<void(const Message&)> whileMessageShown; // runs while a box would be open
};

} // namespace latcap::testing
