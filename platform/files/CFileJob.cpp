#include "platform/files/CFileJob.h"

CFileJob::~CFileJob() {
    Join();
}

void CFileJob::Start(std::function<void(CFileJob&)> work) {
    Join();
    m_bFinished.store(false);
    m_thread = std::thread([this, work = std::move(work)] {
        work(*this);
        m_bFinished.store(true);
    });
}

void CFileJob::Join() {
    if (m_thread.joinable())
        m_thread.join();
}
