#include "windows/frmSound.h"

#include "settings/modTranslation.h"
#include "sounding/SoundWindowLogic.h"
#include "sounding/SoundingWindows.h"
#include "text/Placeholders.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace halvika {

namespace {
// "frmSound" texts: what is playing, and which time of how many.
constexpr int textPlaying = 1;
constexpr int textTimeOf = 2;
constexpr int textTime = 3;
} // namespace

frmSound::frmSound(SoundWindowLogic& logic, SoundingWindows& windows, modTranslation& texts, const QString& caption)
    : QWidget(nullptr, Qt::Window), m_logic(logic), m_windows(windows), m_texts(texts), m_caption(caption) {
    setObjectName("frmSound");
    setWindowTitle("Sound");
    setWindowIcon(AppIcon::icon());

    auto* layout = new QHBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon::speaker().pixmap(32, 32));
    layout->addWidget(icon, 0, Qt::AlignTop);
    auto* texts_ = new QVBoxLayout;
    m_file = new QLabel(this);
    QFont bold = m_file->font();
    bold.setBold(true);
    m_file->setFont(bold);
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_file->setTextFormat(Qt::PlainText);
    m_count = new QLabel(this);
    texts_->addWidget(m_file);
    texts_->addWidget(m_count);
    layout->addLayout(texts_, 1);
    m_stop = new QPushButton("&Stop", this);
    m_stop->setObjectName("cmdStopSound");
    m_stop->setIcon(AppIcon::stop());
    m_stop->setDefault(true);
    layout->addWidget(m_stop, 0, Qt::AlignVCenter);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_logic.timerFired();
        refresh();
    });
    connect(m_stop, &QPushButton::clicked, this, &frmSound::stopSound);

    translate();
    resize(420, sizeHint().height());
}

void frmSound::translate() {
    FormTranslator::translateForm(*this, m_texts);
    setWindowTitle(QString::fromStdString(m_texts.getCaption("frmSound", "Sound")) + " - " + m_caption);
    refresh();
}

void frmSound::refresh() {
    const std::string& file = m_logic.firstFile();
    m_file->setText(QString::fromStdString(
        Placeholders::fill(m_texts.getText("frmSound", textPlaying),
                           file.empty() ? "-" : QFileInfo(QString::fromStdString(file)).fileName().toStdString())));
    const std::string played = std::to_string(std::max(1, m_logic.playedCount()));
    m_count->setText(QString::fromStdString(m_logic.repeatCount() < 0
                                                ? Placeholders::fill(m_texts.getText("frmSound", textTime), played)
                                                : Placeholders::fill(m_texts.getText("frmSound", textTimeOf), played,
                                                                     std::to_string(m_logic.repeatCount()))));
    if (m_logic.timerIntervalMs() > 0) {
        if (m_timer->interval() != m_logic.timerIntervalMs() || !m_timer->isActive()) {
            m_timer->start(m_logic.timerIntervalMs());
        }
    } else {
        m_timer->stop();
    }
}

void frmSound::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void frmSound::stopSound() {
    m_detached = true;
    m_timer->stop();
    hide();
    m_windows.soundWindowStopped(m_logic, true);
}

void frmSound::closeEvent(QCloseEvent* event) {
    if (!m_detached) {
        m_detached = true;
        m_timer->stop();
        m_windows.soundWindowStopped(m_logic, false);
    }
    event->accept();
}

} // namespace halvika
