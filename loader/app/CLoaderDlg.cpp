#include "CLoaderDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QWindow>
#include <algorithm>

#include "CAboutDlg.h"
#include "LineNotices.h"
#include "LoadSpeeds.h"
#include "PortCombo.h"
#include "PrinterNotices.h"
#include "Resources.h"
#include "SerialPortList.h"
#include "ui_CLoaderDlg.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kBaudEntry = "_combo_baudrate";
constexpr const char* kPortEntry = "_combo_comm_port";
// Room for a typical path to a data file, in average characters, where the screen has it.
constexpr int kFileFieldChars = 48;

QStringList BaudRateItems() {
    QStringList items;
    for (unsigned speed : kLoadSpeeds) {
        items << QString::number(speed);
    }
    return items;
}

QStringList PortNames() {
#ifdef _WIN32
    return {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"};
#else
    QStringList names;
    for (const std::string& device : ListSerialDevices()) {
        names << QString::fromStdString(device);
    }
    return names;
#endif
}

std::string DefaultPort() {
#ifdef _WIN32
    return "COM1";
#else
    const auto devices = ListSerialDevices();
    return devices.empty() ? std::string() : devices.front();
#endif
}

// The string table's filter, "description|pattern|...||", as Qt writes it: the descriptions
// already name their patterns.
QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList descriptions;
    for (int i = 0; i < parts.size(); i += 2) {
        descriptions << parts[i];
    }
    return descriptions.join(";;");
}

// Selects the first entry that begins with the text, ignoring case.
void SelectByPrefix(QComboBox* box, const QString& text) {
    for (int i = 0; i < box->count(); ++i) {
        if (!text.isEmpty() && box->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
            box->setCurrentIndex(i);
            return;
        }
    }
    // A remembered device path that the system does not list (a typed one, an adapter not
    // plugged in) is offered again, and the box grows to show it whole.
    if (box->isEditable() && !text.isEmpty()) {
        box->addItem(text);
        box->setItemData(box->count() - 1, text, Qt::ToolTipRole);
        box->setCurrentIndex(box->count() - 1);
        return;
    }
    box->setCurrentIndex(-1);
}

}  // namespace

CLoaderDlg::CLoaderDlg(IUserNotifier& notifier, IProfileStore& profile, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CLoaderDlg>()),
      m_notifier(notifier),
      m_profile(profile),
      m_fileRead(this, [this](DataFileResult read) { OnFileRead(std::move(read)); }) {
    LoadResources();
    m_ui->setupUi(this);
    setWindowIcon(QIcon(":/icons/loader.xpm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Where the window manager offers no system menu, the about entry is in the window's
    // context menu and on F1.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &CLoaderDlg::OnAbout);
    connect(m_ui->browseButton, &QPushButton::clicked, this, &CLoaderDlg::OnBrowse);
    connect(m_ui->loadButton, &QPushButton::clicked, this, &CLoaderDlg::OnLoad);
    connect(m_ui->stopButton, &QPushButton::clicked, this, &CLoaderDlg::OnStop);
    m_ui->progress->SetShowText(true);
    m_ui->progress->SetPercentAfterText(true);
    m_ui->progress->SetText(" ");
    // The browse button is as narrow as its three dots allow, as beside a file field it should be.
    QStyle* style = m_ui->browseButton->style();
    m_ui->browseButton->setFixedWidth(
        m_ui->browseButton->fontMetrics().horizontalAdvance(m_ui->browseButton->text()) +
        2 * (style->pixelMetric(QStyle::PM_ButtonMargin) +
             style->pixelMetric(QStyle::PM_DefaultFrameWidth)) +
        m_ui->browseButton->fontMetrics().averageCharWidth() * 2);
    FillLists();
    FitToScreen();
    LoadSettings();
    // The port is remembered, the file changes from load to load. Left without the focus, the
    // port box also shows a long path elided in the middle, not scrolled to its end.
    m_ui->fileEdit->setFocus();
}

CLoaderDlg::~CLoaderDlg() = default;

void CLoaderDlg::FillLists() {
    m_ui->baudCombo->addItems(BaudRateItems());
    m_ui->portCombo->addItems(PortNames());
#ifndef _WIN32
    // Device paths, a simulator's pseudo-terminal among them, can be typed in.
    m_ui->portCombo->setEditable(true);
#endif
    FitPortCombo(m_ui->portCombo);
}

// The widths the window asks for follow its screen, so that at a large scale on a small screen
// the whole window stays on it: the file field and the progress bar give way, the port box
// keeps to its share.
void CLoaderDlg::FitToScreen() {
    const QMargins margins = layout()->contentsMargins();
    // The window manager's frame, once the window has one.
    const int frame = isVisible() ? frameGeometry().width() - width() : 0;
    const int room =
        screen()->availableGeometry().width() - frame - margins.left() - margins.right();
    const int fileRoom = room - m_ui->fileLayout->spacing() - m_ui->browseButton->minimumWidth();
    m_ui->fileEdit->setMinimumWidth(
        std::min(m_ui->fileEdit->fontMetrics().averageCharWidth() * kFileFieldChars, fileRoom));
    m_ui->progress->SetWidthLimit(room - 2 * m_ui->loadLayout->spacing() -
                                  m_ui->loadButton->sizeHint().width() -
                                  m_ui->stopButton->sizeHint().width());
    m_ui->portCombo->setMaximumWidth(PortComboWidthLimit(m_ui->portCombo));
}

// A window that grows, as it does when a load's status text needs a wider bar, stays on its
// screen rather than running over the edge.
void CLoaderDlg::KeepOnScreen() {
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int dx = std::max(area.left() - frame.left(), std::min(0, area.right() - frame.right()));
    const int dy = std::max(area.top() - frame.top(), std::min(0, area.bottom() - frame.bottom()));
    if (dx != 0 || dy != 0) {
        move(pos() + QPoint(dx, dy));
    }
}

void CLoaderDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (windowHandle() != nullptr) {
        connect(windowHandle(), &QWindow::screenChanged, this, &CLoaderDlg::FitToScreen,
                Qt::UniqueConnection);
    }
    FitToScreen();
    KeepOnScreen();
}

void CLoaderDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible()) {
        KeepOnScreen();
    }
}

void CLoaderDlg::LoadSettings() {
    SelectByPrefix(m_ui->baudCombo,
                   QString::fromStdString(m_profile.GetString(kSection, kBaudEntry, "115200")));
    SelectByPrefix(m_ui->portCombo, QString::fromStdString(
                                        m_profile.GetString(kSection, kPortEntry, DefaultPort())));
}

void CLoaderDlg::SaveSettings() {
    m_profile.SetString(kSection, kBaudEntry, m_ui->baudCombo->currentText().toStdString());
    m_profile.SetString(kSection, kPortEntry, m_ui->portCombo->currentText().toStdString());
}

void CLoaderDlg::OnBrowse() {
    // The dialog only takes existing files.
    const QString start = m_ui->fileEdit->text().isEmpty() ? "*.bin" : m_ui->fileEdit->text();
    const QString chosen = QFileDialog::getOpenFileName(this, QString(), start,
                                                        QtFileFilter(LoadString(IDS_FILE_FILTER)));
    if (!chosen.isEmpty()) {
        m_ui->fileEdit->setText(chosen);
    }
}

void CLoaderDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CLoaderDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(LoadString(IDS_ABOUTBOX), this, &CLoaderDlg::OnAbout);
    menu.exec(event->globalPos());
}

// The file is read off the window's thread; the controls stay as they are until it is known
// to be good, and pressing the button again starts over with the path shown then.
void CLoaderDlg::OnLoad() {
    if (!m_link) {
        m_fileRead.Start(m_ui->fileEdit->text().toStdString());
    }
}

// The port is free and the window idle by the time the message tells what the printer needs.
// A load that ended a moment ago is told by its own message, already on its way.
void CLoaderDlg::OnStop() {
    if (!m_link || !m_link->Stop()) {
        return;
    }
    m_link.reset();
    EndLoad();
    Report(LoadString(IDS_LOAD_STOPPED), MessageIcon::Warning);
}

void CLoaderDlg::OnFileRead(DataFileResult read) {
    if (m_link) {
        return;
    }
    if (read.status == DataFileStatus::CannotOpen) {
        Report(LoadString(IDS_CANNOT_OPEN_FILE), MessageIcon::Error);
    } else if (read.status != DataFileStatus::Ok) {
        Report(LoadString(IDS_BAD_FILE_DATA), MessageIcon::Error);
    } else {
        StartLoad(std::move(read.file));
    }
}

void CLoaderDlg::StartLoad(DataFile file) {
    if (file.IsProgram()) {
        m_model = file.model;
    }
    m_data = std::make_unique<CLoadData>(std::move(file));
    // The bar counts payload bytes, so it runs from 0 to 100 % for a file of any size and a
    // font at any start address.
    m_ui->progress->SetRange(0, std::max(1, static_cast<int>(m_data->PayloadSize())));
    m_ui->progress->SetPos(0);
    SetControlsEnabled(false);

    const std::uint64_t load = ++m_loadSerial;
    m_owner = std::make_unique<CQueuedLoadOwner>(
        this, [this, load](LoadMessage message) { OnLoadMessage(load, message); },
        [this, load] { OnRecordTaken(load); });
    ChannelConfig line;
    line.portName = m_ui->portCombo->currentText().toStdString();
    line.baudRate = m_ui->baudCombo->currentText().toUInt();
    if (m_queues != nullptr) {
        m_queueHold = std::make_unique<CPortQueueHold>(*m_queues, line.portName);
        ShowQueuesNotHeld(m_notifier, m_queueHold->NotHeld());
    }
    m_link = std::make_unique<CLoadLink>(*m_owner, *m_data, line);
    m_link->SetWatchdogLength(m_replyWatch);
    if (!m_link->IsOpen()) {
        const OpenFailure failure = m_link->LastOpenFailure();
        ShowUnstarted(m_notifier, failure);
        m_link.reset();
        Report(LoadPortNotOpenedText(failure), MessageIcon::Error);
        EndLoad();
        return;
    }
    m_ui->progress->show();
    ShowStatus();
    if (m_data->File().IsProgram()) {
        m_link->StartProgramLoad();
    } else {
        m_link->StartFontLoad();
    }
}

void CLoaderDlg::ShowStatus() {
    const bool program = m_data->File().IsProgram();
    m_ui->progress->SetText(QString::fromStdString(LoadStatusText(m_model, program)));
}

void CLoaderDlg::OnRecordTaken(std::uint64_t load) {
    if (load == m_loadSerial && m_link) {
        ShowProgress();
    }
}

void CLoaderDlg::ShowProgress() {
    m_ui->progress->SetPos(static_cast<int>(m_data->Taken()));
}

void CLoaderDlg::OnLoadMessage(std::uint64_t load, LoadMessage message) {
    if (load != m_loadSerial || !m_link) {
        return;
    }
    if (message == LM_STEP) {
        ShowProgress();
        return;
    }
    if (message == LM_STATUS) {
        // A font load shows the model the printer reported.
        m_model = m_data->Model();
        ShowStatus();
        return;
    }
    const bool program = m_data->File().IsProgram();
    if (message == LM_LINE_LOST) {
        ShowLineLoss(m_notifier, m_link->LastLineLoss());
    }
    Report(LoadMessageText(message, m_model, program),
           message == LM_DONE ? MessageIcon::Information : MessageIcon::Error);
    m_link.reset();
    EndLoad();
}

void CLoaderDlg::EndLoad() {
    m_queueHold.reset();
    SetControlsEnabled(true);
    m_ui->progress->SetText(" ");
    m_ui->progress->SetPos(0);
    m_ui->progress->hide();
}

void CLoaderDlg::SetControlsEnabled(bool enabled) {
    for (QWidget* control :
         {static_cast<QWidget*>(m_ui->loadButton), static_cast<QWidget*>(m_ui->browseButton),
          static_cast<QWidget*>(m_ui->fileEdit), static_cast<QWidget*>(m_ui->baudCombo),
          static_cast<QWidget*>(m_ui->portCombo)}) {
        control->setEnabled(enabled);
    }
    // The focus goes from the stop button back to the load button, not round to the port box.
    if (enabled && m_ui->stopButton->hasFocus()) {
        m_ui->loadButton->setFocus();
    }
    m_ui->stopButton->setEnabled(!enabled);
}

void CLoaderDlg::Report(const std::string& text, MessageIcon icon) {
    m_notifier.ShowMessage(text, tr("Загрузчик").toStdString(), icon);
}

// Closing is refused while a load runs; the load always ends, at the latest by the watchdog.
void CLoaderDlg::reject() {
    if (m_link && m_link->IsBusy()) {
        return;
    }
    SaveSettings();
    QDialog::reject();
}

void CLoaderDlg::closeEvent(QCloseEvent* event) {
    if (m_link && m_link->IsBusy()) {
        event->ignore();
        return;
    }
    SaveSettings();
    QDialog::closeEvent(event);
}
