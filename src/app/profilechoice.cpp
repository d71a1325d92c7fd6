#include "app/profilechoice.h"

#include "core/programvalues.h"
#include "core/settings.h"
#include "profiles/profileloading.h"
#include "profiles/settingform.h"
#include "profiles/settingsfile.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

TProfileChoice::TProfileChoice(Widgets widgets, const ProgramValues& values, TSettings& settings,
                               const TSettingsFile& file, IPrompts& prompts, QObject* parent)
    : QObject(parent), m_w(widgets), m_values(values), m_settings(settings), m_file(file),
      m_prompts(prompts), m_storedIndex(settings.profileIndex()) {
    m_w.cmbProfile->addItems(m_values.profileNames());
    m_w.cmbProfile->setCurrentIndex(-1);
    m_settings.setProfile(-1, QString()); // what the list shows
    connect(m_w.cmbProfile, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_settings.setProfile(index, m_w.cmbProfile->currentText());
        cmbProfileChange();
    });
    m_w.edtOutputDir->setText(m_settings.outputFolder());
    connect(m_w.edtOutputDir, &QLineEdit::textChanged, &m_settings, &TSettings::setOutputFolder);
    connect(&m_settings, &TSettings::changed, m_w.edtOutputDir, [this] {
        if (m_w.edtOutputDir->text() != m_settings.outputFolder())
            m_w.edtOutputDir->setText(m_settings.outputFolder());
    });
}

void TProfileChoice::relist() {
    RelistProfiles(m_w.cmbProfile, m_values.profileNames());
    m_settings.setProfile(m_w.cmbProfile->currentIndex(), m_w.cmbProfile->currentText());
}

void TProfileChoice::RestoreProfileSelection() {
    QComboBox* list = m_w.cmbProfile;
    if (list->count() == 0)
        return;
    const int index = m_storedIndex;
    const bool same = list->currentIndex() == index;
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    if (same)
        cmbProfileChange(); // selecting the shown item again still loads it
}

void TProfileChoice::StoreProfileSelection() {
    m_file.saveChoice(m_settings);
}

void TProfileChoice::cmbProfileChange() {
    const QString path = m_values.profilePath(m_w.cmbProfile->currentText());
    if (m_w.cmbProfile->currentIndex() < 0 || !QFileInfo::exists(path))
        return;
    if (const std::optional<QString> extension =
            LoadProfile(*m_w.parameterGroups, path, ProfileReaderKind::Standard, m_prompts))
        m_settings.setOutputExtension(*extension);
    emit profileChanged(m_w.cmbProfile->currentIndex());
}
