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
#include "platform/cp1252.h"

namespace {


QComboBox* ListOf(const std::vector<std::string>& texts) {
    auto* list = new QComboBox;
    for (const std::string& text : texts)
        list->addItem(QString::fromStdU16String(platform::Cp1252ToUtf16(text)));
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
      model_(model),
      logic_(server, *this, std::move(model), adapterName, zipFile.empty() ? ShippedFilePath("zip.csv") : zipFile) {
    setWindowTitle("General Settings (Step 1 of 5)");
    Build();
    connect(&timer_, &QTimer::timeout, this, [this] { logic_.OnTimer(); });
}

void CStep1DlgView::Build() {
    date_ = new QDateEdit;
    date_->setCalendarPopup(true);
    hour_ = ListOf(HourChoices());
    minute_ = ListOf(MinuteChoices());
    daylightSaving_ = new QCheckBox("Automatically Adjust for DST");
    auto* clock = new QGroupBox("Date and Time");
    auto* clockLayout = new QFormLayout(clock);
    clockLayout->addRow("Date", date_);
    auto* time = new QHBoxLayout;
    time->addWidget(new QLabel("Hour"));
    time->addWidget(hour_);
    time->addWidget(new QLabel("Min"));
    time->addWidget(minute_);
    clockLayout->addRow(time);
    clockLayout->addRow(daylightSaving_);

    fahrenheit_ = new QRadioButton("Fahrenheit");
    celsius_ = new QRadioButton("Celsius");
    auto* scaleGroup = new QButtonGroup(this);
    scaleGroup->addButton(fahrenheit_);
    scaleGroup->addButton(celsius_);
    auto* scale = new QGroupBox("Temperature Scale");
    auto* scaleLayout = new QHBoxLayout(scale);
    scaleLayout->addWidget(fahrenheit_);
    scaleLayout->addWidget(celsius_);

    priority_ = new QCheckBox("Manual OP Priority");
    auto* priority = new QGroupBox("Priority");
    (new QVBoxLayout(priority))->addWidget(priority_);

    homePage_ = new QComboBox;
    zip_ = new QLineEdit;
    latitude_ = new QLineEdit;
    longitude_ = new QLineEdit;
    timeZone_ = ListOf(TimeZoneChoices());
    auto* location = new QGroupBox("Location");
    auto* locationLayout = new QFormLayout(location);
    locationLayout->addRow("Home Page", homePage_);
    locationLayout->addRow("ZIP Code", zip_);
    locationLayout->addRow("Latitude (North)", latitude_);
    locationLayout->addRow("Longitude (West)", longitude_);
    locationLayout->addRow("Time Zone", timeZone_);

    auto* sensors = new QGroupBox("Calibrate Sensors");
    auto* sensorLayout = new QVBoxLayout(sensors);
    sensorLayout->addWidget(SensorRow("Air", 0, IDC_STEP1_AIR_VALUE, IDC_STEP1_AIR_UP, IDC_STEP1_AIR_DOWN,
                                      CStep1Dlg::kAir));
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

    controls_.insert({{IDC_STEP1_DATE, date_},
                      {IDC_STEP1_HOUR, hour_},
                      {IDC_STEP1_MINUTE, minute_},
                      {IDC_STEP1_DST, daylightSaving_},
                      {IDC_STEP1_FAHRENHEIT, fahrenheit_},
                      {IDC_STEP1_CELSIUS, celsius_},
                      {IDC_STEP1_PRIORITY, priority_},
                      {IDC_STEP1_PRIORITY_GROUP, priority},
                      {IDC_STEP1_HOME_PAGE, homePage_},
                      {IDC_STEP1_ZIP, zip_},
                      {IDC_STEP1_LATITUDE, latitude_},
                      {IDC_STEP1_LONGITUDE, longitude_},
                      {IDC_STEP1_TIME_ZONE, timeZone_},
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
            if (!putting_)
                (logic_.*handler)();
        };
    };
    connect(fahrenheit_, &QRadioButton::clicked, this, userChange(&CStep1Dlg::OnScaleChanged));
    connect(celsius_, &QRadioButton::clicked, this, userChange(&CStep1Dlg::OnScaleChanged));
    connect(date_, &QDateEdit::dateChanged, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(hour_, &QComboBox::activated, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(minute_, &QComboBox::activated, this, userChange(&CStep1Dlg::OnClockChanged));
    connect(zip_, &QLineEdit::textChanged, this, userChange(&CStep1Dlg::OnZipChanged));
    connect(password, &QPushButton::clicked, this, [this] { logic_.OnSetPassword(); });
    connect(email, &QPushButton::clicked, this, [this] { logic_.OnEmailSettings(); });
    connect(back, &QPushButton::clicked, this, [this] { logic_.OnBack(); });
    connect(next, &QPushButton::clicked, this, [this] { logic_.OnNext(); });
    connect(finish, &QPushButton::clicked, this, [this] { logic_.OnFinish(); });
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
    if (labelId)
        controls_[labelId] = label;
    controls_[valueId] = value;
    controls_[upId] = up;
    controls_[downId] = down;
    // The spa's row goes as a whole where the controller has no spa.
    if (sensor == CStep1Dlg::kSpa)
        controls_[labelId] = row;
    connect(up, &QPushButton::clicked, this, [this, sensor] { logic_.OnCalibrate(sensor, 1); });
    connect(down, &QPushButton::clicked, this, [this, sensor] { logic_.OnCalibrate(sensor, -1); });
    return row;
}

QWidget* CStep1DlgView::Control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

void CStep1DlgView::Open() { logic_.OnInitDialog(); }

int CStep1DlgView::Run() {
    Open();
    if (ended_)
        return endResult_;
    running_ = true;
    const int result = exec();
    running_ = false;
    return result;
}

void CStep1DlgView::ShowControl(int id, bool shown) {
    if (QWidget* control = Control(id))
        control->setVisible(shown);
}

void CStep1DlgView::EnableControl(int id, bool on) {
    if (QWidget* control = Control(id))
        control->setEnabled(on);
}

void CStep1DlgView::SetControlText(int id, const std::string& text) {
    if (auto* label = qobject_cast<QLabel*>(Control(id)))
        label->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(text)));
    else if (QWidget* row = Control(id))
        if (auto* first = row->findChild<QLabel*>())
            first->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(text)));
}

void CStep1DlgView::SetHomePages(const std::vector<CHomePage>& pages) {
    putting_ = true;
    homePage_->clear();
    for (const CHomePage& page : pages)
        homePage_->addItem(QString::fromStdU16String(platform::Cp1252ToUtf16(page.name)), page.id);
    putting_ = false;
}

void CStep1DlgView::PutValues(const CStep1Values& values) {
    putting_ = true;
    date_->setDate(QDate(values.year, values.month, values.day));
    hour_->setCurrentIndex(values.hour);
    minute_->setCurrentIndex(values.minute);
    daylightSaving_->setChecked(values.daylightSaving != 0);
    (values.celsius ? celsius_ : fahrenheit_)->setChecked(true);
    priority_->setChecked(values.manualPriority != 0);
    homePage_->setCurrentIndex(values.homePage);
    zip_->setText(QString::fromStdU16String(platform::Cp1252ToUtf16(values.zip)));
    latitude_->setText(QString::number(values.latitude, 'f', 4));
    longitude_->setText(QString::number(values.longitude, 'f', 4));
    timeZone_->setCurrentIndex(values.timeZone);
    putting_ = false;
}

bool CStep1DlgView::GetValues(CStep1Values& values) {
    bool latitudeRead = false, longitudeRead = false;
    const double latitude = latitude_->text().trimmed().toDouble(&latitudeRead);
    const double longitude = longitude_->text().trimmed().toDouble(&longitudeRead);
    if (!latitudeRead || !longitudeRead)
        return false;
    const QDate date = date_->date();
    values.year = date.year();
    values.month = date.month();
    values.day = date.day();
    values.hour = hour_->currentIndex();
    values.minute = minute_->currentIndex();
    values.daylightSaving = daylightSaving_->isChecked() ? 1 : 0;
    values.celsius = celsius_->isChecked() ? 1 : 0;
    values.manualPriority = priority_->isChecked() ? 1 : 0;
    values.homePage = homePage_->currentIndex();
    values.zip = platform::Utf16ToCp1252(zip_->text().toStdU16String());
    values.latitude = latitude;
    values.longitude = longitude;
    values.timeZone = timeZone_->currentIndex();
    return true;
}

void CStep1DlgView::StartTimer(uint32_t intervalMs) { timer_.start(static_cast<int>(intervalMs)); }

void CStep1DlgView::StopTimer() { timer_.stop(); }

void CStep1DlgView::EndDialog(int result) {
    timer_.stop();
    if (running_) {
        done(result);
        return;
    }
    ended_ = true;
    endResult_ = result;
}

void CStep1DlgView::reject() { EndDialog(kStepCancel); }

void CStep1DlgView::RunEmailSettings(const std::string& adapterName) {
    CEmailDlgView(adapterName, EmailLocatorPort()).exec();
}

void CStep1DlgView::RunSetPassword() {
    CSetPassDlgView(model_->Link()).exec();
}
