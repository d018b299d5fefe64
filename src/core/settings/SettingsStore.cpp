// Every user preference, remembered geometry, list layout and usage counter, and their file "usr.cfx".
#include "settings/SettingsStore.h"

#include "alarms/Alarm.h"
#include "settings/modTranslation.h"

#include <limits>

namespace halvika {

namespace {

const char* const kLayoutNames[4] = {"ag", "al", "sa0", "sa1"};
const char* const kBuiltInLayouts[4] = {
    "<ag><clm><i>0</i><w>107</w></clm><clm><i>1</i><w>43</w></clm></ag>",
    "<al><clm><i>0</i><w>122</w></clm><clm><i>1</i><w>43</w></clm><clm><i>2</i><w>134</w></clm></al>",
    "<sa0><clm><i>0</i><w>99</w></clm><clm><i>1</i><w>131</w></clm></sa0>",
    "<sa1><clm><i>0</i><w>99</w></clm><clm><i>1</i><w>131</w></clm></sa1>"};
const char* const kFormatNames[4] = {"al", "sa", "na", "ot"};

XMLNodePtr child(const XMLNode& parent, std::string_view name) {
    return parent.getNode(name, 0, "");
}

} // namespace

SettingsStore::SettingsStore() {
    for (int i = 0; i < 4; ++i) {
        layouts[static_cast<std::size_t>(i)] = XMLNode::createFromXML(kBuiltInLayouts[i]);
    }
}

void SettingsStore::load(const XMLNode& r, const Date& loadingMoment, int& step) {
    runStart = loadingMoment;
    step = 1;
    blocked = r.getBoolean("bl", 0, false);
    lastCheck = r.getDate("lsd", 0, loadingMoment);
    const XMLNodePtr sa = child(r, "sa");
    for (int i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i);
        seeAlarmsShown[static_cast<std::size_t>(i)] = sa->getInteger("c" + n, 0, 1);
        seeAlarmsAmount[static_cast<std::size_t>(i)] = sa->getInteger("a" + n, 0, 1);
        seeAlarmsUnit[static_cast<std::size_t>(i)] = sa->getInteger("u" + n, 0, 3);
    }
    step = 2;
    const XMLNodePtr mw = child(r, "mw");
    view = mw->getInteger("view", 0, 0);
    calendarSettings = mw->getChildCopy("halvikacal", *XMLNode::Create("halvikacal"));
    windowVisible = mw->getBoolean("v", 0, true);
    windowState = mw->getInteger("s", 0, 0);
    if (windowState == 1) {
        // A minimised window comes back hidden, in normal state.
        windowVisible = false;
        windowState = 0;
    }
    windowLeft = mw->getSingle("x", 0, 600);
    windowTop = mw->getSingle("y", 0, 400);
    windowWidth = mw->getSingle("w", 0, 11385);
    windowHeight = mw->getSingle("h", 0, 8445);
    const std::int16_t dividerDefaults[4] = {337, 206, 155, 463};
    for (int i = 0; i < 4; ++i) {
        dividers[static_cast<std::size_t>(i)] = mw->getInteger("dv" + std::to_string(i + 1), 0, dividerDefaults[i]);
    }
    step = 3;
    forceForeground = r.getBoolean("ftf", 0, false);
    warningLimit = r.getInteger("wl", 0, 10);
    whenUnblocked = r.getInteger("wu", 0, 1);
    const XMLNodePtr so = child(r, "so");
    groupSortColumn = so->getInteger("ag", 0, 0);
    groupSortDescending = so->getBoolean("agd", 0, false);
    alarmSortColumn = so->getInteger("al", 0, 0);
    alarmSortDescending = so->getBoolean("ald", 0, false);
    alarmGroupPath = r.getString("agp", 0, appPathMark);
    autoSave = r.getBoolean("as", 0, true);
    timerCorrectionMs = r.getLong("tc", 0, 0);
    voice = r.getString("vd", 0, "");
    step = 4;
    const XMLNodePtr aw = child(r, "aw");
    alarmWindowWidth = aw->getLong("w", 0, 6960);
    alarmWindowHeight = aw->getLong("h", 0, 2655);
    const XMLNodePtr sta = child(r, "sta");
    secondsRun = sta->getLong("s1", 0, 0);
    alarmsSounded = sta->getLong("s2", 0, 0);
    firstUse = sta->getDate("s3", 0, loadingMoment);
    step = 5;
    const XMLNodePtr font = child(r, "font");
    listFont.name = font->getString("nm", 0, listFont.name);
    listFont.size = font->getSingle("sz", 0, listFont.size);
    listFont.bold = font->getBoolean("bd", 0, listFont.bold);
    listFont.italic = font->getBoolean("it", 0, listFont.italic);
    listFont.strikethrough = font->getBoolean("st", 0, listFont.strikethrough);
    listFont.underline = font->getBoolean("ul", 0, listFont.underline);
    step = 6;
    defaultSound = r.getString("ds", 0, "");
    language = r.getString("lng", 0, language);
    const XMLNodePtr tmpl = r.getNode("tmpl", 0, "");
    templateText = r.getNodeIndex("tmpl") >= 0 && tmpl->getNumberOfNodes() > 0 ? tmpl->toString() : "";
    const XMLNodePtr lst = child(r, "lst");
    for (std::size_t i = 0; i < 4; ++i) {
        layouts[i] = lst->getChildCopy(kLayoutNames[i], *layouts[i]);
    }
    step = 7;
    const XMLNodePtr df = child(r, "df");
    for (std::size_t i = 0; i < 4; ++i) {
        displayFormats[i] = df->getString(kFormatNames[i], 0, displayFormats[i]);
    }
    dateOrder = df->getInteger("da", 0, dateOrder);
    timeFormat = df->getInteger("ti", 0, timeFormat);
    showSeconds = df->getInteger("sc", 0, 1);
    step = 8;
    const XMLNodePtr sca = child(r, "sca");
    secondaryOn = sca->getInteger("s", 0, 0);
    secondaryRestriction = sca->getInteger("s", 1, 0);
    secondaryAlarm = Alarm::createFromXML(*sca->getNode("al", 0, "<al></al>"), nullptr);
    const XMLNodePtr ata = child(r, "ata");
    attentionOn = ata->getInteger("s", 0, 0);
    attentionRestriction = ata->getInteger("s", 1, 0);
    attentionAlarm = Alarm::createFromXML(*ata->getNode("al", 0, "<al></al>"), nullptr);
    step = 9;
    colourScheme = r.getString("cls", 0, "default");
    activePlugins = r.getChildCopy("acpl", *XMLNode::Create("acpl"));
    autoVersionCheck = r.getBoolean("acv", 0, false);
    ignoreCorrection = r.getBoolean("igc", 0, true);
    intervalBarWidth = r.getInteger("ibw", 0, 8);
    overrideSoundVolume = r.getBoolean("osvol", 0, false);
    soundVolume = r.getLong("svol", 0, 100);
    overrideVoiceVolume = r.getBoolean("ovvol", 0, false);
    voiceVolume = r.getLong("vvol", 0, 100);
    overrideVoiceSpeed = r.getBoolean("ovspd", 0, false);
    voiceSpeed = r.getLong("vspd", 0, 0);
    inactivityLimitMinutes = r.getLong("tiia", 0, 10);
    step = 10;
    alarmClockMaxMinutes = r.getInteger("acmm", 0, 3);
    alarmClockSnoozeMinutes = r.getInteger("acst", 0, 5);
    autoUpdateCalendar = r.getBoolean("auc", 0, true);
    calendarOffset = r.getInteger("cao", 0, 35);
    showToolTips = r.getBoolean("stt", 0, true);
    overlapWarning = r.getBoolean("odt", 0, false);
    overlapAmount = r.getLong("ola", 0, 30);
    overlapUnit = r.getInteger("olu", 0, 1);
    overlapRestriction = r.getInteger("olp", 0, 1);
    step = 11;
    personalAssistant = r.getBoolean("epa", 0, false);
    oldFontRotation = r.getBoolean("ofrm", 0, false);
    snoozeAmount = r.getInteger("dsa", 0, 5);
    snoozeUnit = r.getInteger("dsu", 0, 1);
    snoozeAddTo = r.getInteger("dsat", 0, 0);
    oneAlarmWindow = r.getBoolean("uoaw", 0, false);
    wakeOn = r.getBoolean("wko", 0, false);
    wakeRestriction = r.getInteger("wki", 0, 0);
    wakeLeadSeconds = r.getLong("wkl", 0, 60);
    step = 12;
    mendAbsurdValues(r);
}

void SettingsStore::mendAbsurdValues(const XMLNode& r) {
    // A Boolean written by hand as "7" is no answer: blocked stays off rather than silencing every alarm.
    const std::string bl = r.getString("bl", 0, "0");
    if (bl != "-1" && bl != "0" && bl != "1" && bl != "True" && bl != "False" && bl != "true" && bl != "false") {
        blocked = false;
    }
    if (timerCorrectionMs < -maxTimerCorrectionMs || timerCorrectionMs > maxTimerCorrectionMs) {
        timerCorrectionMs = 0;
    }
    if (warningLimit < 1) {
        warningLimit = 10;
    }
    if (whenUnblocked < 0 || whenUnblocked > 2) {
        whenUnblocked = 1;
    }
    if (inactivityLimitMinutes < 0 || inactivityLimitMinutes > maxInactivityLimitMinutes) {
        inactivityLimitMinutes = 10;
    }
    if (wakeLeadSeconds < 0 || wakeLeadSeconds > maxWakeLeadSeconds) {
        wakeLeadSeconds = 60;
    }
    if (wakeRestriction < 0 || wakeRestriction > 2) {
        wakeRestriction = 0;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        if (seeAlarmsAmount[i] < 1) {
            seeAlarmsAmount[i] = 1;
        }
        if (seeAlarmsUnit[i] < 0 || seeAlarmsUnit[i] > 6) {
            seeAlarmsUnit[i] = 3;
        }
    }
}

XMLNodePtr SettingsStore::toXML(const Date& now) const {
    auto r = XMLNode::Create("settings");
    r->addBoolean("bl", blocked);
    r->addDate("lsd", lastCheck);
    auto sa = XMLNode::Create("sa");
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string n = std::to_string(i);
        sa->addInteger("c" + n, seeAlarmsShown[i]);
        sa->addInteger("a" + n, seeAlarmsAmount[i]);
        sa->addInteger("u" + n, seeAlarmsUnit[i]);
    }
    r->addNode(sa);
    auto mw = XMLNode::Create("mw");
    mw->addInteger("view", view);
    auto cal = calendarSettings->getCopy();
    cal->name = "halvikacal";
    mw->addNode(cal);
    mw->addBoolean("v", windowVisible);
    mw->addInteger("s", windowState);
    mw->addSingle("x", windowLeft);
    mw->addSingle("y", windowTop);
    mw->addSingle("w", windowWidth);
    mw->addSingle("h", windowHeight);
    for (std::size_t i = 0; i < 4; ++i) {
        mw->addInteger("dv" + std::to_string(i + 1), dividers[i]);
    }
    r->addNode(mw);
    r->addBoolean("ftf", forceForeground);
    r->addInteger("wl", warningLimit);
    r->addInteger("wu", whenUnblocked);
    auto so = XMLNode::Create("so");
    so->addInteger("ag", groupSortColumn);
    so->addBoolean("agd", groupSortDescending);
    so->addInteger("al", alarmSortColumn);
    so->addBoolean("ald", alarmSortDescending);
    r->addNode(so);
    r->addString("agp", alarmGroupPath);
    r->addBoolean("as", autoSave);
    r->addLong("tc", timerCorrectionMs);
    r->addString("vd", voice);
    auto aw = XMLNode::Create("aw");
    aw->addLong("w", alarmWindowWidth);
    aw->addLong("h", alarmWindowHeight);
    r->addNode(aw);
    auto sta = XMLNode::Create("sta");
    const std::int64_t run = now.serialSeconds() - runStart.serialSeconds();
    const std::int64_t total = std::int64_t{secondsRun} + (run > 0 ? run : 0);
    sta->addLong("s1", total > std::numeric_limits<std::int32_t>::max() ? 0 : static_cast<std::int32_t>(total));
    sta->addLong("s2", alarmsSounded);
    sta->addDate("s3", firstUse);
    r->addNode(sta);
    auto font = XMLNode::Create("font");
    font->addString("nm", listFont.name);
    font->addSingle("sz", listFont.size);
    font->addBoolean("bd", listFont.bold);
    font->addBoolean("it", listFont.italic);
    font->addBoolean("st", listFont.strikethrough);
    font->addBoolean("ul", listFont.underline);
    r->addNode(font);
    r->addString("ds", defaultSound);
    r->addString("lng", language);
    if (!templateText.empty()) {
        r->addXMLString(templateText);
    }
    auto lst = XMLNode::Create("lst");
    for (const auto& layout : layouts) {
        lst->addNode(layout->getCopy());
    }
    r->addNode(lst);
    auto df = XMLNode::Create("df");
    for (std::size_t i = 0; i < 4; ++i) {
        df->addString(kFormatNames[i], displayFormats[i]);
    }
    df->addInteger("da", dateOrder);
    df->addInteger("ti", timeFormat);
    df->addInteger("sc", showSeconds);
    r->addNode(df);
    for (const auto& [tag, on, restriction, alarm] :
         {std::tuple{"sca", secondaryOn, secondaryRestriction, secondaryAlarm},
          std::tuple{"ata", attentionOn, attentionRestriction, attentionAlarm}}) {
        auto e = XMLNode::Create(tag);
        e->addInteger("s", on);
        e->addInteger("s", restriction);
        e->addNode(alarm ? alarm->toXML("al") : XMLNode::Create("al"));
        r->addNode(e);
    }
    r->addString("cls", colourScheme);
    auto acpl = activePlugins->getCopy();
    acpl->name = "acpl";
    r->addNode(acpl);
    r->addBoolean("acv", autoVersionCheck);
    r->addBoolean("igc", ignoreCorrection);
    r->addInteger("ibw", intervalBarWidth);
    r->addBoolean("osvol", overrideSoundVolume);
    r->addLong("svol", soundVolume);
    r->addBoolean("ovvol", overrideVoiceVolume);
    r->addLong("vvol", voiceVolume);
    r->addBoolean("ovspd", overrideVoiceSpeed);
    r->addLong("vspd", voiceSpeed);
    r->addLong("tiia", inactivityLimitMinutes);
    r->addInteger("acmm", alarmClockMaxMinutes);
    r->addInteger("acst", alarmClockSnoozeMinutes);
    r->addBoolean("auc", autoUpdateCalendar);
    r->addInteger("cao", calendarOffset);
    r->addBoolean("stt", showToolTips);
    r->addBoolean("odt", overlapWarning);
    r->addLong("ola", overlapAmount);
    r->addInteger("olu", overlapUnit);
    r->addInteger("olp", overlapRestriction);
    r->addBoolean("epa", personalAssistant);
    r->addBoolean("ofrm", oldFontRotation);
    r->addInteger("dsa", snoozeAmount);
    r->addInteger("dsu", snoozeUnit);
    r->addInteger("dsat", snoozeAddTo);
    r->addBoolean("uoaw", oneAlarmWindow);
    r->addBoolean("wko", wakeOn);
    r->addInteger("wki", wakeRestriction);
    r->addLong("wkl", wakeLeadSeconds);
    return r;
}

std::string SettingsStore::loadErrorText(const std::string& description, const std::string& source, int step) {
    return "Error while loading settings: " + description + " in " + source + "; flag " + std::to_string(step) +
           "; program will be terminated";
}

std::string SettingsStore::alarmGroupFolder(const std::string& programFolder) const {
    std::string folder = alarmGroupPath;
    const std::string mark = appPathMark;
    for (std::size_t pos = folder.find(mark); pos != std::string::npos;
         pos = folder.find(mark, pos + programFolder.size())) {
        folder.replace(pos, mark.size(), programFolder);
    }
    // Paths from the old platform use "\"; a trailing separator is dropped.
    for (char& c : folder) {
        c = c == '\\' ? '/' : c;
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::shared_ptr<Alarm> SettingsStore::getDefaultTemplateAlarm(modTranslation& texts) const {
    if (!templateText.empty()) {
        return Alarm::createFromXML(*XMLNode::createFromXML(templateText), nullptr);
    }
    return Alarm::createDefaultAlarm(texts);
}

std::string SettingsStore::templateTextFor(const Alarm& templateAlarm, modTranslation& texts) {
    const std::string text = templateAlarm.toXML("tmpl")->toString();
    return text == Alarm::createDefaultAlarm(texts)->toXML("tmpl")->toString() ? std::string() : text;
}

void SettingsStore::countSoundedAlarm() {
    if (alarmsSounded < std::numeric_limits<std::int32_t>::max()) {
        ++alarmsSounded;
    }
}

std::array<std::string, 4> SettingsStore::displayFormatsFor(std::int16_t order, std::int16_t time) {
    static const char* const dates[4][3] = {{"dd/mm/yyyy", "d/m/yyyy", "dd/mm/yyyy"},
                                            {"mm/dd/yyyy", "m/d/yyyy", "mm/dd/yyyy"},
                                            {"yyyy/mm/dd", "yyyy/m/d", "yyyy/mm/dd"},
                                            {"yyyy/dd/mm", "yyyy/d/m", "yyyy/dd/mm"}};
    const int o = order >= 0 && order < 4 ? order : 0;
    const std::string suffix = time == 1 ? " AM/PM" : "";
    const std::string list = std::string("ddd ") + dates[o][0] + " hh:nn:ss" + suffix;
    return {list, list, std::string("dddd ") + dates[o][1] + " h:nn:ss" + suffix,
            std::string(dates[o][2]) + " hh:nn:ss" + suffix};
}

} // namespace halvika
