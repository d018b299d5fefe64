#include "platform/QtWatchListener.h"

#include "sounding/AlarmWatch.h"

namespace halvika {

QtWatchListener::QtWatchListener(AlarmWatch& watch, QObject* parent) : QObject(parent), m_watch(watch) {
    m_watch.setListener(this);
}

QtWatchListener::~QtWatchListener() {
    m_watch.setListener(nullptr);
}

} // namespace halvika
