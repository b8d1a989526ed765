#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>

// Helpers that answer the modal windows a widget test opens. For widget tests only (they need
// QtWidgets).

// Runs answer on the next modal window of class T once it is up.
template<typename T> void answerNextModal(std::function<void(T *)> answer)
{
    QTimer::singleShot(5, [answer] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window)
            return answerNextModal<T>(answer);
        answer(window);
    });
}

// Answers every message box shown while it lives and keeps the texts: with the given button
// when the box has it, else with Ok.
class MessageCatcher
{
public:
    explicit MessageCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, answer] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(box->standardButtons() & answer ? answer : QMessageBox::Ok);
            }
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
};
