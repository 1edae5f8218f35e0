// Answering the modal dialogs and message boxes of the window and dialog tests without blocking.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QTimer>
#include <functional>

namespace pelimon::test {

// Answers the first modal widget of type T that becomes active, by calling `answer` with it.
// Polls the event loop's modal widget, so it works with any exec() the code under test runs.
// Stops looking when destroyed or after 20 s.
template <class T>
class ModalAnswerer {
  public:
    explicit ModalAnswerer(std::function<void(T*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer_.stop();
                answered_ = true;
                text_ = modal->property("text").toString();
                answer_(modal);
            } else if (deadline_.hasExpired()) {
                timer_.stop();
            }
        });
        timer_.start(5);
    }
    bool answered() const { return answered_; }
    // The text property of the answered widget (QMessageBox), when it has one.
    const QString& text() const { return text_; }

  private:
    std::function<void(T*)> answer_;
    QDeadlineTimer deadline_{20000};
    QTimer timer_;
    bool answered_ = false;
    QString text_;
};

}  // namespace pelimon::test
