#include "editing/GroupPropertiesLogic.h"

#include "groups/AlarmGroup.h"
#include "groups/ChangeKinds.h"
#include "settings/SettingsStore.h"

namespace halvika {

GroupForm GroupPropertiesLogic::formOf(const AlarmGroup& group) {
    GroupForm form;
    form.name = group.name;
    form.active = group.Active;
    form.colour = group.Color;
    form.templateText = group.templateText;
    form.synchPlugin = group.synchPlugin;
    form.synchSettings = group.synchSettings->getCopy();
    return form;
}

std::int16_t GroupPropertiesLogic::apply(AlarmGroup& group, const GroupForm& form) {
    std::int16_t kinds = 0;
    if (group.Active != form.active) {
        group.Active = form.active;
        kinds |= kindStateChanged;
    }
    if (group.name != form.name || group.Color != form.colour || group.templateText != form.templateText ||
        group.synchPlugin != form.synchPlugin || group.synchSettings->toString() != form.synchSettings->toString()) {
        group.name = form.name;
        group.Color = form.colour;
        group.templateText = form.templateText;
        group.synchPlugin = form.synchPlugin;
        group.synchSettings = form.synchSettings->getCopy();
        kinds |= kindContentChanged;
    }
    if (kinds != 0) {
        group.setChanged();
    }
    return kinds;
}

std::string GroupPropertiesLogic::templateTextOf(const Alarm& templateAlarm, modTranslation& texts) {
    return SettingsStore::templateTextFor(templateAlarm, texts);
}

} // namespace halvika
