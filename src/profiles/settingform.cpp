#include "profiles/settingform.h"

#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/settings.h"
#include "platform/prompts.h"
#include "profiles/generalpreferencesfile.h"
#include "profiles/inifilesession.h"
#include "profiles/parametergroups.h"
#include "profiles/profilefile.h"
#include "profiles/profileloading.h"
#include "profiles/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* b = named(new QPushButton(caption, parent), name);
    b->setGeometry(geometry);
    b->setAutoDefault(false); // Enter in an edit box must not press a button
    return b;
}

QToolButton* browseButton(QWidget* parent, const char* name, int x, int y) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("..."));
    b->setGeometry(x, y, 23, 22);
    return b;
}

const QString BrowseCaption = QStringLiteral("Select the output directory.");

} // namespace

TSettingForm::TSettingForm(QWidget* mainWindow, const ProgramValues& values, TSettings& settings,
                           const TSettingsFile& file, IPrompts& prompts)
    : QDialog(mainWindow), m_values(values), m_settings(settings), m_file(file),
      m_prompts(prompts) {
    setObjectName(QStringLiteral("SettingForm"));
    setWindowTitle(QStringLiteral("Settings"));
    setAttribute(Qt::WA_WindowPropagation); // the main window's font
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(ClientWidth, ClientHeight);

    pgcSetting = named(new QTabWidget(this), "pgcSetting");
    pgcSetting->setGeometry(4, 4, ClientWidth - 8, ClientHeight - 46);
    buildGeneralPage();
    buildProfilesPage();

    const int y = ClientHeight - 34;
    btnDefault = button(this, "btnDefault", QStringLiteral("&Load Default"), {8, y, 90, 25});
    btnOK = button(this, "btnOK", QStringLiteral("&OK"), {ClientWidth - 168, y, 75, 25});
    btnCancel = button(this, "btnCancel", QStringLiteral("&Cancel"), {ClientWidth - 85, y, 75, 25});
    connect(btnDefault, &QPushButton::clicked, this, &TSettingForm::btnDefaultClick);
    connect(btnOK, &QPushButton::clicked, this, &TSettingForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TSettingForm::btnCancelClick);

    showGeneral(m_settings.general());
}

TSettingForm::~TSettingForm() = default;

void TSettingForm::buildGeneralPage() {
    tabGeneral = named(new QWidget, "tabGeneral");
    pgcSetting->addTab(tabGeneral, QStringLiteral("     General     "));
    QWidget* page = tabGeneral;

    label(page, QStringLiteral("Default Output Path:"), 16, 14);
    edtOutputDir = named(new QLineEdit(page), "edtOutputDir");
    edtOutputDir->setGeometry(16, 32, 310, 22);
    sbtnBrowse = browseButton(page, "sbtnBrowse", 330, 32);
    connect(sbtnBrowse, &QToolButton::clicked, this, &TSettingForm::sbtnBrowseClick);

    label(page, QStringLiteral("Work (temp) Directory:"), 16, 66);
    edtWorkDir = named(new QLineEdit(page), "edtWorkDir");
    edtWorkDir->setGeometry(16, 84, 310, 22);
    SpeedButton1 = browseButton(page, "SpeedButton1", 330, 84);
    connect(SpeedButton1, &QToolButton::clicked, this, &TSettingForm::SpeedButton1Click);

    label(page, QStringLiteral("Synchronization Mode:"), 16, 118);
    cmbSyn = named(new QComboBox(page), "cmbSyn");
    cmbSyn->addItems(
        {QStringLiteral("Auto"), QStringLiteral("Force Mode"), QStringLiteral("Progressive Mode")});
    cmbSyn->setGeometry(16, 136, 160, 22);

    const auto check = [page](const char* name, const QString& caption, int y) {
        auto* c = named(new QCheckBox(caption, page), name);
        c->setGeometry(16, y, 345, 20);
        return c;
    };
    chkOpenDir =
        check("chkOpenDir",
              QStringLiteral("Open the output directory when the task is completed. "), 174);
    chkExit = check("chkExit", QStringLiteral("Exit the program when the task is completed."), 198);
    chkTurnoff = check("chkTurnoff",
                       QStringLiteral("Turn off the computer when the task is completed."), 222);

    gpbOverWrite =
        named(new QGroupBox(QStringLiteral("Output File Overwrite"), page), "gpbOverWrite");
    gpbOverWrite->setGeometry(16, 256, 345, 104);
    const auto radio = [this](const char* name, const QString& caption, int y) {
        auto* r = named(new QRadioButton(caption, gpbOverWrite), name);
        r->setGeometry(12, y, 325, 20);
        return r;
    };
    rdbAsk = radio("rdbAsk", QStringLiteral("Ask Me"), 24);
    rdbOverWrite = radio("rdbOverWrite", QStringLiteral("Overwrite"), 48);
    rdbRename =
        radio("rdbRename", QStringLiteral("Not overwrite (Rename to <Filename> + Index"), 72);

    label(page, QStringLiteral("Intermediate file:"), 16, 372);
    cmbIntermediate = named(new QComboBox(page), "cmbIntermediate");
    cmbIntermediate->addItems({QStringLiteral("Standard: a small file, encoded twice"),
                               QStringLiteral("High: streamed whole, encoded once")});
    cmbIntermediate->setToolTip(
        QStringLiteral("High passes the picture and sound whole from the encoder to the "
                       "transcoder while both run, so the output is encoded only once: the best "
                       "quality, no space in the work folder, and about the time of Standard."));
    cmbIntermediate->setGeometry(16, 390, 345, 22);
}

void TSettingForm::buildProfilesPage() {
    tabProfiles = named(new QWidget, "tabProfiles");
    pgcSetting->addTab(tabProfiles, QStringLiteral("     Profiles     "));
    QWidget* page = tabProfiles;

    cmbProfile = named(new QComboBox(page), "cmbProfile");
    cmbProfile->setGeometry(8, 10, 262, 22);
    cmbProfile->addItems(m_values.profileNames());
    cmbProfile->setCurrentIndex(-1);
    connect(cmbProfile, &QComboBox::currentIndexChanged, this, &TSettingForm::cmbProfileChange);
    btnSaveAs = button(page, "btnSaveAs", QStringLiteral("&Save as..."), {278, 9, 90, 25});
    connect(btnSaveAs, &QPushButton::clicked, this, &TSettingForm::btnSaveAsClick);

    ScrollBox1 = named(new QScrollArea(page), "ScrollBox1");
    ScrollBox1->setGeometry(8, 42, pgcSetting->width() - 24, pgcSetting->height() - 76);
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setBackgroundRole(QPalette::Base);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    parameterGroups = new TParameterGroups(160, 200, TParameterGroups::HeaderButtons::Collapse);
    ScrollBox1->setWidget(parameterGroups);
}

void RelistProfiles(QComboBox* list, const QStringList& names) {
    const QSignalBlocker quiet(list); // the shown profile stays loaded as it is
    const QString shown = list->currentText();
    list->clear();
    list->addItems(names);
    list->setCurrentIndex(list->findText(shown));
}

void TSettingForm::relistProfiles(const QStringList& names) {
    RelistProfiles(cmbProfile, names);
}

void TSettingForm::ShowProfilesPage() {
    pgcSetting->setCurrentWidget(tabProfiles);
    show();
    const int index = m_settings.profileIndex();
    if (cmbProfile->currentIndex() != index)
        cmbProfile->setCurrentIndex(index); // loads through the change signal
    else
        cmbProfileChange();
}

void TSettingForm::ShowGeneralPage() {
    pgcSetting->setCurrentWidget(tabGeneral);
    show();
}

void TSettingForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showGeneral(m_settings.general());
    m_snapshot = m_settings.general();
}

void TSettingForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    keepShown();
}

void TSettingForm::keepShown() {
    GeneralPreferences shown = generalSettings();
    shown.outputPath = m_settings.outputFolder();
    m_settings.setGeneral(shown);
}

GeneralPreferences TSettingForm::generalSettings() const {
    GeneralPreferences p;
    p.outputPath = edtOutputDir->text();
    p.workDir = edtWorkDir->text();
    p.synMode = cmbSyn->currentIndex();
    p.autoOpenDir = chkOpenDir->isChecked();
    p.autoExit = chkExit->isChecked();
    p.autoTurnOff = chkTurnoff->isChecked();
    p.ask = rdbAsk->isChecked();
    p.overwrite = rdbOverWrite->isChecked();
    p.intermediate = cmbIntermediate->currentIndex();
    return p;
}

void TSettingForm::showGeneral(const GeneralPreferences& p) {
    edtOutputDir->setText(p.outputPath);
    edtWorkDir->setText(p.workDir);
    cmbSyn->setCurrentIndex(p.synMode);
    cmbIntermediate->setCurrentIndex(p.intermediate == Prefs::IntermediateHigh
                                         ? Prefs::IntermediateHigh
                                         : Prefs::IntermediateStandard);
    chkOpenDir->setChecked(p.autoOpenDir);
    chkExit->setChecked(p.autoExit);
    chkTurnoff->setChecked(p.autoTurnOff);
    // One of three: Overwrite wins over Ask, and Rename is neither.
    QRadioButton* choice = p.overwrite ? rdbOverWrite : p.ask ? rdbAsk : rdbRename;
    choice->setChecked(true);
}

void TSettingForm::LoadPreferences(const QString& section) {
    const std::optional<GeneralPreferences> read = m_file.readGeneral(section);
    if (!read)
        return; // the file could not be read: the controls keep what they show
    showGeneral(*read);
    keepShown();
}

QString TSettingForm::selectedProfilePath() const {
    if (cmbProfile->currentIndex() < 0)
        return {};
    return m_values.profilePath(cmbProfile->currentText());
}

void TSettingForm::cmbProfileChange() {
    const QString path = selectedProfilePath();
    if (!path.isEmpty())
        LoadProfile(*parameterGroups, path, ProfileReaderKind::NewInifile, m_prompts);
}

void TSettingForm::btnOKClick() {
    m_settings.setGeneral(generalSettings());
    m_file.saveGeneral(m_settings.general());
    const QString path = selectedProfilePath();
    if (!path.isEmpty() && QFileInfo::exists(path))
        SaveProfile(*parameterGroups, path, m_prompts);
    if (m_settings.profileIndex() >= 0 && cmbProfile->currentIndex() >= 0 &&
        m_settings.profileName() == cmbProfile->currentText())
        emit shownProfileSaved();
    accept();
}

void TSettingForm::btnCancelClick() {
    reject();
    showGeneral(m_snapshot);
    m_settings.setGeneral(m_snapshot);
}

void TSettingForm::btnDefaultClick() {
    if (m_prompts.ask(QStringLiteral("Are you sure to load the default preferences?"),
                      QStringLiteral("Load Default")))
        LoadPreferences(Prefs::DefaultSection);
}

void TSettingForm::btnSaveAsClick() {
    // The user's own profile folder, where a saved profile joins the lists.
    QDir().mkpath(m_values.profilesDir());
    const QStringList listed = m_values.profileNames();
    const std::optional<QString> target =
        m_prompts.chooseSaveFile(QString(), QStringLiteral("Profiles (*.apf)"),
                                 QStringLiteral("apf"), m_values.profilesDir());
    const QString source = selectedProfilePath();
    if (!target || source.isEmpty() || !QFileInfo::exists(source))
        return;
    QString error;
    if (!CopyProfileFile(source, *target, &error)) {
        // No empty profile is written where the copy failed.
        m_prompts.inform(error, QString::fromLatin1(ProductTexts::ProductName));
        return;
    }
    SaveProfile(*parameterGroups, *target, m_prompts);
    if (m_values.profileNames() != listed)
        emit profileListChanged();
}

void TSettingForm::chooseFolderInto(QLineEdit* edit) {
    if (const std::optional<QString> folder = m_prompts.chooseFolder(BrowseCaption, QString()))
        edit->setText(WithTrailingSeparator(*folder));
}

void TSettingForm::sbtnBrowseClick() {
    chooseFolderInto(edtOutputDir);
}

void TSettingForm::SpeedButton1Click() {
    chooseFolderInto(edtWorkDir);
}
