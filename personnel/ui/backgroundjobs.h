#pragma once

#include <QList>
#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// Work that must not hold the window up (counts, person lists): each job runs on a thread of
// its own and its result comes back to `done` on the owner's thread. The work gets the stop
// flag, which is set when the owner goes; the owner then waits for the threads.
class BackgroundJobs : public QObject
{
public:
    explicit BackgroundJobs(QObject *parent = nullptr) : QObject(parent) { }
    ~BackgroundJobs() override
    {
        m_stop = true;
        for (QThread *thread : std::as_const(m_threads))
            thread->wait();
        qDeleteAll(m_threads);
    }

    template<typename T>
    void run(std::function<T(const std::atomic_bool &stop)> work, std::function<void(T)> done)
    {
        auto result = std::make_shared<std::optional<T>>();
        QThread *thread = QThread::create([this, result, work] { result->emplace(work(m_stop)); });
        m_threads.append(thread);
        connect(thread, &QThread::finished, this, [this, thread, result, done] {
            m_threads.removeOne(thread);
            thread->deleteLater();
            if (result->has_value())
                done(std::move(**result));
        });
        thread->start();
    }

    bool isBusy() const { return !m_threads.isEmpty(); }

private:
    std::atomic_bool m_stop { false };
    QList<QThread *> m_threads;
};
