#pragma once

#include <cstdio>
#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace ripartino {

// Dialogs run their own loops: this answers them from there, as a user would. A message
// gets "OK" (or "Yes" when it asks), or "Salva come PDF..." when `answer` is "save:FILE";
// the save dialog then gets FILE typed (also for "pdf:FILE", the answer to "Salva PDF..."),
// and with "pdf:FILE|BUTTON" the next message gets BUTTON; "cancel" presses "Annulla" in the
// progress dialog; "read" reads each message for a second first. A dialog still open after a
// minute, or come up over a message, is closed, and `stuck` says so.
class DialogAnswerer {
public:
    DialogAnswerer()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        deadline_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] { answerTheDialog(); });
        timer_.start(20);
    }

    QString answer;
    QString message;   // the last message's text with its buttons: "... [OK] [Salva come PDF...]"
    QStringList said;  // every message's
    QString stuck;     // the title of a dialog that stayed open

private:
    void answerTheDialog()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        if (std::exchange(facing_, dialog) != dialog)
            deadline_.restart();
        if (dialog && (deadline_.hasExpired(60000) || (read_ && dialog != read_))) {
            stuck = dialog->windowTitle();
            dialog->close();
        } else if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            if (std::exchange(read_, box) != box)
                reader_.start();
            if (reader_.elapsed() < (answer == "read" ? 1000 : 0))
                return;
            message = box->text();
            QAbstractButton* chosen = box->button(QMessageBox::Yes);
            for (QAbstractButton* choice : box->buttons()) {
                message += " [" + choice->text() + "]";
                const QString wanted = answer.startsWith("save:") ? "Salva come PDF..." : answer;
                if (choice->text() == wanted || (!chosen && choice->text() == "OK"))
                    chosen = choice;
            }
            said << message;
            chosen->click();
        } else if (auto* save = qobject_cast<QFileDialog*>(dialog)) {
            std::printf("proposed: %s\n", qPrintable(save->selectedFiles().value(0)));
            auto* name = save->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            const QStringList typed = std::exchange(answer, QString()).split(u'|');
            answer = typed.value(1);
            name->setText(typed[0].mid(typed[0].indexOf(u':') + 1));  // typed, its completer would cut in
            // Queued: the question whether to replace a file runs its own loop, which this
            // timer must be free to answer.
            QMetaObject::invokeMethod(
                name, [name] { QTest::keyClick(name, Qt::Key_Return); }, Qt::QueuedConnection);
        } else if (qobject_cast<QProgressDialog*>(dialog) && answer == "cancel") {
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);  // its one button: "Annulla"
        }
    }

    QTimer timer_;
    QElapsedTimer deadline_, reader_;
    QPointer<QMessageBox> read_;
    QPointer<QWidget> facing_;  // the dialog the minute runs for
};

}  // namespace ripartino
