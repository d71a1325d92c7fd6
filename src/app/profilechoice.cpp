#include "app/profilechoice.h"

#include "core/preferences.h"
#include "core/programvalues.h"
#include "profiles/profileloading.h"
#include "profiles/settingform.h"
#include "profiles/standardini.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

TProfileChoice::TProfileChoice(Widgets widgets, ProgramValues& values, IPrompts& prompts,
                               QObject* parent)
    : QObject(parent), m_w(widgets), m_values(values), m_prompts(prompts) {
    m_w.cmbProfile->addItems(m_values.profileNames());
    m_w.cmbProfile->setCurrentIndex(-1);
    connect(m_w.cmbProfile, &QComboBox::currentIndexChanged, this,
            &TProfileChoice::cmbProfileChange);
}

void TProfileChoice::relist() {
    RelistProfiles(m_w.cmbProfile, m_values.profileNames());
}

void TProfileChoice::RestoreProfileSelection() {
    const StandardIni prefs(m_values.preferencesPath());
    QComboBox* list = m_w.cmbProfile;
    if (list->count() > 0) {
        const int index =
            prefs.readInteger(Prefs::MainSection, Prefs::Profile, Prefs::DefaultProfile);
        const bool same = list->currentIndex() == index;
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
        if (same)
            cmbProfileChange(); // selecting the shown item again still loads it
    }
    m_w.edtOutputDir->setText(
        prefs.readString(Prefs::MainSection, Prefs::OutputPath, m_values.folders.defaultOutputDir));
}

void TProfileChoice::StoreProfileSelection() {
    StandardIni prefs(m_values.preferencesPath());
    QString error;
    if (!prefs.writeInteger(Prefs::MainSection, Prefs::Profile, m_w.cmbProfile->currentIndex(),
                            &error) ||
        !prefs.writeString(Prefs::MainSection, Prefs::OutputPath, m_w.edtOutputDir->text(), &error))
        qWarning("Preferences could not be saved: %s", qPrintable(error));
}

void TProfileChoice::cmbProfileChange() {
    const QString path = m_values.profilePath(m_w.cmbProfile->currentText());
    if (m_w.cmbProfile->currentIndex() < 0 || !QFileInfo::exists(path))
        return;
    if (const std::optional<QString> extension =
            LoadProfile(*m_w.parameterGroups, path, ProfileReaderKind::Standard, m_prompts))
        m_values.outputExtension = *extension;
    emit profileChanged(m_w.cmbProfile->currentIndex());
}
