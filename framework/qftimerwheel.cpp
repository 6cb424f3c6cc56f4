#include "qftimerwheel.h"

#include <new>
#include <vector>

QfTimerWheel::~QfTimerWheel()
{
    while (clients_) {
        QfTimerNode* node = clients_;
        clients_ = node->next;
        if (node->client)
            CountWheel(node->client, -1);
        delete node;
    }
}

QfTimerNode* QfTimerWheel::FindNode(const QfTimerClient* client) const
{
    if (!client)
        return nullptr;
    for (QfTimerNode* node = clients_; node; node = node->next) {
        if (node->client == client)
            return node;
    }
    return nullptr;
}

// Other threads' wheels change the same field at the same time.
void QfTimerWheel::CountWheel(QfTimerClient* client, int delta)
{
    if (delta > 0)
        __atomic_add_fetch(&client->node, 1, __ATOMIC_ACQ_REL);
    else
        __atomic_sub_fetch(&client->node, 1, __ATOMIC_ACQ_REL);
}

uint32_t QfTimerWheel::PendingOf(const QfTimerClient* client) const
{
    const QfTimerNode* node = FindNode(client);
    return node ? node->count : 0;
}

uint32_t QfTimerWheel::ClientCount() const
{
    uint32_t n = 0;
    for (const QfTimerNode* node = clients_; node; node = node->next)
        ++n;
    return n;
}

bool QfTimerWheel::AnyClientAt(uint32_t position) const
{
    for (const QfTimerNode* node = clients_; node; node = node->next) {
        if (TestBit(node->map, position))
            return true;
    }
    return false;
}

void QfTimerWheel::SetAny(uint32_t position)
{
    if (!TestBit(anyMap_, position)) {
        SetBit(anyMap_, position);
        ++anyCount_;
    }
}

void QfTimerWheel::ClearAnyIfUnused(uint32_t position)
{
    if (TestBit(anyMap_, position) && !AnyClientAt(position)) {
        ClearBit(anyMap_, position);
        --anyCount_;
    }
}

void QfTimerWheel::Unlink(QfTimerNode* node)
{
    if (node->prev)
        node->prev->next = node->next;
    else
        clients_ = node->next;
    if (node->next)
        node->next->prev = node->prev;
    node->next = node->prev = nullptr;
}

// A node with nothing pending leaves the list unless a tick is calling its
// client right now; then it is dropped when that call returns.
void QfTimerWheel::DropIfIdle(QfTimerNode* node)
{
    if (node->count != 0 || node->busy)
        return;
    if (node->client)
        CountWheel(node->client, -1);
    Unlink(node);
    delete node;
}

uint32_t QfTimerWheel::Add(QfTimerClient* client, uint32_t ticks)
{
    if (!client || ticks < 1 || ticks > QF_WHEEL_POSITIONS - 1)
        return 0;
    QfTimerNode* node = FindNode(client);
    if (!node) {
        node = new (std::nothrow) QfTimerNode();
        if (!node)
            return 0;
        node->client = client;
        node->next = clients_;
        if (clients_)
            clients_->prev = node;
        clients_ = node;
        CountWheel(client, +1);
    }
    uint32_t position = (current_ + ticks) % QF_WHEEL_POSITIONS;
    if (!TestBit(node->map, position)) {
        SetBit(node->map, position);
        ++node->count;
    }
    SetAny(position);
    return position + 1;
}

void QfTimerWheel::Remove(QfTimerClient* client, uint32_t timerId)
{
    QfTimerNode* node = FindNode(client);
    if (!node || timerId < 1 || timerId > QF_WHEEL_POSITIONS)
        return;
    uint32_t position = timerId - 1;
    if (TestBit(node->map, position)) {
        ClearBit(node->map, position);
        --node->count;
        ClearAnyIfUnused(position);
    }
    DropIfIdle(node);
}

void QfTimerWheel::RemoveAll(QfTimerClient* client)
{
    QfTimerNode* node = FindNode(client);
    if (!node)
        return;
    for (uint32_t position = 0; position < QF_WHEEL_POSITIONS; ++position) {
        if (TestBit(node->map, position)) {
            ClearBit(node->map, position);
            ClearAnyIfUnused(position);
        }
    }
    node->count = 0;
    // A busy node stays until its call returns, but the client is free
    // again at once (it may be going away).
    if (node->busy) {
        CountWheel(client, -1);
        node->client = nullptr;
    }
    DropIfIdle(node);
}

uint32_t QfTimerWheel::Tick()
{
    current_ = (current_ + 1) % QF_WHEEL_POSITIONS;
    uint32_t position = current_;
    if (!TestBit(anyMap_, position))
        return 0;
    ClearBit(anyMap_, position);
    --anyCount_;
    // Collect first and mark busy: a client's call may add or remove timers
    // of any client, and no node it refers to may disappear meanwhile.
    std::vector<QfTimerNode*> due;
    for (QfTimerNode* node = clients_; node; node = node->next) {
        if (TestBit(node->map, position)) {
            ClearBit(node->map, position);
            --node->count;
            node->busy = 1;
            due.push_back(node);
        }
    }
    for (QfTimerNode* node : due) {
        QfTimerClient* client = node->client;
        if (client && client->onTimer)
            client->onTimer(client, position + 1);
    }
    for (QfTimerNode* node : due) {
        node->busy = 0;
        DropIfIdle(node);
    }
    return static_cast<uint32_t>(due.size());
}
