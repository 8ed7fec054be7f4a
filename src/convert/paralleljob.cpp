#include "convert/paralleljob.h"

ParallelJob::ParallelJob(Work work)
    : control(std::make_shared<Control>())
{
    thread.reset(QThread::create([work = std::move(work), control = control] { work(*control); }));
    thread->start();
}

ParallelJob::~ParallelJob()
{
    cancel();
    thread->wait();
}

void ParallelJob::wait(const std::function<void()>& whileWaiting, int intervalMilliseconds)
{
    while (!thread->wait(unsigned(qMax(1, intervalMilliseconds)))) {
        if (whileWaiting)
            whileWaiting();
    }
    if (whileWaiting)
        whileWaiting();
}
