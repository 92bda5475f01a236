#include "basinsetup/views/step1view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "basinsetup/basinsetupdlg.h"
#include "basinsetup/views/dialogs.h"
#include "basinsetup/views/emailview.h"
#include "basinsetup/ziplookup.h"
#include "qttext/qttext.h"

namespace {

QComboBox* ListOf(const std::vector<std::string>& texts) {
    auto* list = new QComboBox;
    for (const std::string& text : texts) list->addItem(qttext::FromCp1252(text));
    return list;
}

QPushButton* Button(const char* text) {
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CStep1DlgView::CStep1DlgView(QWidget* parent, CZVServer& server, std::shared_ptr<CBasinSetup> model,
                             const std::string& adapterName, const std::string& zipFile)
    : QDialog(parent),
      m_model(model),
      m_logic(server, *this, std::move(model), adapterName, zipFile.empty() ? ShippedFilePath("zip.csv") : zipFile) {
    setWindowTitle("General Settings (Step 1 of 5)");
    Build();
    connect(&m_timer, &QTimer::timeout, this, [this] { m_logic.OnTimer(); });
}

void CStep1DlgView::Build() {
    m_date = new QDateEdit;
    m_date->setCalendarPopup(true);
    m_hour = ListOf(HourChoices());
    m_minute = ListOf(MinuteChoices());
    m_daylightSaving = new QCheckBox("Automatically Adjust for DST");
    auto* clock = new QGroupBox("Date and Time");
    auto* clockLayout = new QFormLayout(clock);
    clockLayout->addRow("Date", m_date);
    auto* time = new QHBoxLayout;
    time->addWidget(new QLabel("Hour"));
    time->addWidget(m_hour);
    time->addWidget(new QLabel("Min"));
    time->addWidget(m_minute);
    clockLayout->addRow(time);
    clockLayout->addRow(m_daylightSaving);

    m_fahrenheit = new QRadioButton("Fahrenheit");
    m_celsius = new QRadioButton("Celsius");
    auto* scaleGroup = new QButtonGroup(this);
    scaleGroup->addButton(m_fahrenheit);
    scaleGroup->addButton(m_celsius);
    auto* scale = new QGroupBox("Temperature Scale");
    auto* scaleLayout = new QHBoxLayout(scale);
    scaleLayout->addWidget(m_fahrenheit);
    scaleLayout->addWidget(m_celsius);

    m_priority = new QCheckBox("Manual OP Priority");
    auto* priority = new QGroupBox("Priority");
    (new QVBoxLayout(priority))->addWidget(m_priority);

    m_homePage = new QComboBox;
    m_zip = new QLineEdit;
    m_latitude = new QLineEdit;
    m_longitude = new QLineEdit;
    m_timeZone = ListOf(TimeZoneChoices());
    auto* location = new QGroupBox("Location");
    auto* locationLayout = new QFormLayout(location);
    locationLayout->addRow("Home Page", m_homePage);
    locationLayout->addRow("ZIP Code", m_zip);
    locationLayout->addRow("Latitude (North)", m_latitude);
    locationLayout->addRow("Longitude (West)", m_longitude);
    locationLayout->addRow("Time Zone", m_timeZone);

    auto* sensors = new QGroupBox("Calibrate Sensors");
    auto* sensorLayout = new QVBoxLayout(sensors);
    sensorLayout->addWidget(
        SensorRow("Air", 0, IDC_STEP1_AIR_VALUE, IDC_STEP1_AIR_UP, IDC_STEP1_AIR_DOWN, CStep1Dlg::kAir));
    sensorLayout->addWidget(SensorRow("Pool", IDC_STEP1_POOL_LABEL, IDC_STEP1_POOL_VALUE, IDC_STEP1_POOL_UP,
                                      IDC_STEP1_POOL_DOWN, CStep1Dlg::kPool));
    sensorLayout->addWidget(SensorRow("Spa", IDC_STEP1_SPA_LABEL, IDC_STEP1_SPA_VALUE, IDC_STEP1_SPA_UP,
                                      IDC_STEP1_SPA_DOWN, CStep1Dlg::kSpa));

    QPushButton* password = Button("Set Remote Password...");
    QPushButton* email = Button("Email Alert Settings...");
    QPushButton* back = Button("<< Back");
    QPushButton* next = Button("Next >>");
    QPushButton* finish = Button("Finish");
    next->setDefault(true);

    m_controls.insert({{IDC_STEP1_DATE, m_date},
                       {IDC_STEP1_HOUR, m_hour},
                       {IDC_STEP1_MINUTE, m_minute},
                       {IDC_STEP1_DST, m_daylightSaving},
                       {IDC_STEP1_FAHRENHEIT, m_fahrenheit},
                       {IDC_STEP1_CELSIUS, m_celsius},
                       {IDC_STEP1_PRIORITY, m_priority},
                       {IDC_STEP1_PRIORITY_GROUP, priority},
                       {IDC_STEP1_HOME_PAGE, m_homePage},
                       {IDC_STEP1_ZIP, m_zip},
                       {IDC_STEP1_LATITUDE, m_latitude},
                       {IDC_STEP1_LONGITUDE, m_longitude},
                       {IDC_STEP1_TIME_ZONE, m_timeZone},
                       {IDC_STEP1_SET_PASSWORD, password},
                       {IDC_STEP1_EMAIL, email}});

    auto* left = new QVBoxLayout;
    left->addWidget(clock);
    left->addWidget(scale);
    left->addWidget(priority);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(location);
    right->addWidget(sensors);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* row = new QHBoxLayout;
    row->addWidget(password);
    row->addWidget(email);
    row->addStretch();
    row->addWidget(back);
    row->addWidget(next);
    row->addWidget(finish);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(row);

    auto userChange = [this](auto handler) {
        return [this, handler] {
            if (!m_putting) (m_logic.*handler)();
        };
    };
    connect(m_fahrenheit, &QRadioButton::clicked, this, userChange(&CStep1Dlg::OnScaleChanged));
    connect(m_celsius, &QRadioButton::clicked, this, userChange(&CStep1Dlg::OnScaleChanged));
    connect(m_date, &QDateEdit::dateChanged, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(m_hour, &QComboBox::activated, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(m_minute, &QComboBox::activated, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(m_zip, &QLineEdit::textChanged, this, userChange(&CStep1Dlg::OnZipChanged));
    connect(password, &QPushButton::clicked, this, [this] { m_logic.OnSetPassword(); });
    connect(email, &QPushButton::clicked, this, [this] { m_logic.OnEmailSettings(); });
    connect(back, &QPushButton::clicked, this, [this] { m_logic.OnBack(); });
    connect(next, &QPushButton::clicked, this, [this] { m_logic.OnNext(); });
    connect(finish, &QPushButton::clicked, this, [this] { m_logic.OnFinish(); });
}

QWidget* CStep1DlgView::SensorRow(const char* name, int labelId, int valueId, int upId, int downId,
                                  CStep1Dlg::Sensor sensor) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(name);
    auto* value = new QLabel;
    value->setMinimumWidth(60);
    QPushButton* up = Button("Up");
    QPushButton* down = Button("Dn");
    layout->addWidget(label);
    layout->addWidget(value);
    layout->addWidget(up);
    layout->addWidget(down);
    if (labelId) m_controls[labelId] = label;
    m_controls[valueId] = value;
    m_controls[upId] = up;
    m_controls[downId] = down;
    // The spa's row goes as a whole where the controller has no spa.
    if (sensor == CStep1Dlg::kSpa) m_controls[labelId] = row;
    connect(up, &QPushButton::clicked, this, [this, sensor] { m_logic.OnCalibrate(sensor, 1); });
    connect(down, &QPushButton::clicked, this, [this, sensor] { m_logic.OnCalibrate(sensor, -1); });
    return row;
}

QWidget* CStep1DlgView::Control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CStep1DlgView::Open() { m_logic.OnInitDialog(); }

int CStep1DlgView::Run() {
    Open();
    if (m_ended) return m_endResult;
    m_running = true;
    const int result = exec();
    m_running = false;
    return result;
}

void CStep1DlgView::ShowControl(int id, bool shown) {
    if (QWidget* control = Control(id)) control->setVisible(shown);
}

void CStep1DlgView::EnableControl(int id, bool on) {
    if (QWidget* control = Control(id)) control->setEnabled(on);
}

void CStep1DlgView::SetControlText(int id, const std::string& text) {
    if (auto* label = qobject_cast<QLabel*>(Control(id)))
        label->setText(qttext::FromCp1252(text));
    else if (QWidget* row = Control(id))
        if (auto* first = row->findChild<QLabel*>()) first->setText(qttext::FromCp1252(text));
}

void CStep1DlgView::SetHomePages(const std::vector<CHomePage>& pages) {
    m_putting = true;
    m_homePage->clear();
    for (const CHomePage& page : pages) m_homePage->addItem(qttext::FromCp1252(page.name), page.id);
    m_putting = false;
}

void CStep1DlgView::PutValues(const CStep1Values& values) {
    m_putting = true;
    m_date->setDate(QDate(values.year, values.month, values.day));
    m_hour->setCurrentIndex(values.hour);
    m_minute->setCurrentIndex(values.minute);
    m_daylightSaving->setChecked(values.daylightSaving != 0);
    (values.celsius ? m_celsius : m_fahrenheit)->setChecked(true);
    m_priority->setChecked(values.manualPriority != 0);
    m_homePage->setCurrentIndex(values.homePage);
    m_zip->setText(qttext::FromCp1252(values.zip));
    m_latitude->setText(QString::number(values.latitude, 'f', 4));
    m_longitude->setText(QString::number(values.longitude, 'f', 4));
    m_timeZone->setCurrentIndex(values.timeZone);
    m_putting = false;
}

bool CStep1DlgView::GetValues(CStep1Values& values) {
    bool latitudeRead = false, longitudeRead = false;
    const double latitude = m_latitude->text().trimmed().toDouble(&latitudeRead);
    const double longitude = m_longitude->text().trimmed().toDouble(&longitudeRead);
    if (!latitudeRead || !longitudeRead) return false;
    const QDate date = m_date->date();
    values.year = date.year();
    values.month = date.month();
    values.day = date.day();
    values.hour = m_hour->currentIndex();
    values.minute = m_minute->currentIndex();
    values.daylightSaving = m_daylightSaving->isChecked() ? 1 : 0;
    values.celsius = m_celsius->isChecked() ? 1 : 0;
    values.manualPriority = m_priority->isChecked() ? 1 : 0;
    values.homePage = m_homePage->currentIndex();
    values.zip = qttext::ToCp1252(m_zip->text());
    values.latitude = latitude;
    values.longitude = longitude;
    values.timeZone = m_timeZone->currentIndex();
    return true;
}

void CStep1DlgView::StartTimer(uint32_t intervalMs) { m_timer.start(static_cast<int>(intervalMs)); }

void CStep1DlgView::StopTimer() { m_timer.stop(); }

void CStep1DlgView::EndDialog(int result) {
    m_timer.stop();
    if (m_running) {
        done(result);
        return;
    }
    m_ended = true;
    m_endResult = result;
}

void CStep1DlgView::reject() { EndDialog(kStepCancel); }

void CStep1DlgView::RunEmailSettings(const std::string& adapterName) {
    CEmailDlgView(adapterName, EmailLocatorPort()).exec();
}

void CStep1DlgView::RunSetPassword() { CSetPassDlgView(m_model->Link()).exec(); }
