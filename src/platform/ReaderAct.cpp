#include "platform/ReaderAct.h"

#include <QThread>

namespace {

// The event-loop level the innermost act began at; -1 when none is under way.
int actLevel = -1;

int LoopLevel() { return QThread::currentThread()->loopLevel(); }

} // namespace

TReaderAct::TReaderAct() : saved_(actLevel) { actLevel = LoopLevel(); }
TReaderAct::~TReaderAct() { actLevel = saved_; }

bool TReaderAct::Underway() { return actLevel >= 0 && actLevel == LoopLevel(); }

TReaderAct::TProgramOwn::TProgramOwn() : saved_(actLevel) { actLevel = -1; }
TReaderAct::TProgramOwn::~TProgramOwn() { actLevel = saved_; }
