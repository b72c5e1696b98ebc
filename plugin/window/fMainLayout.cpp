// SPDX-License-Identifier: Apache-2.0
// The configuration window's controls: eight tabs of values, the template
// label and picture, the units frame and the buttons, the status bar.
#include "model/ControlPlacement.h"
#include "model/KeyRules.h"
#include "model/Specific.h"
#include "window/ValueComboBox.h"
#include "window/WidgetFieldControl.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString DesignTempUnit = QStringLiteral("ºC");

// The items of combo box cbNvi(index), shared with the other front ends.
QStringList itemsOf(int index) {
    return placementOf({ControlArray::ComboBox, index}, Specific::Imperial)->items;
}

const QStringList Days = {QStringLiteral("Monday"),    QStringLiteral("Tuesday"),
                          QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                          QStringLiteral("Friday"),    QStringLiteral("Saturday"),
                          QStringLiteral("Sunday")};

QGroupBox* group(const QString& caption, const QString& name = QString()) {
    auto* box = new QGroupBox(caption);
    if (!name.isEmpty())
        box->setObjectName(name);
    return box;
}

// What a screen reader calls a control: its row label, and the frame it is
// in when the label alone is not unique ("Occupied (Heating)").
QString accessibleNameOf(const QString& label, const QString& frame) {
    if (frame.isEmpty())
        return label;
    if (label.isEmpty())
        return frame;
    return QStringLiteral("%1 (%2)").arg(label, frame);
}

// The label that names a control: its buddy, and the control's accessible name.
QLabel* nameLabel(const QString& text, QWidget* control, const QString& frame) {
    auto* label = new QLabel(text);
    label->setBuddy(control);
    control->setAccessibleName(accessibleNameOf(text, frame));
    return label;
}

// A grid of rows: label, control, unit.
class Rows {
public:
    // Controls keep their own width; the space left goes to the right.
    explicit Rows(QWidget* owner) : m_grid(new QGridLayout(owner)) {
        m_grid->setColumnStretch(3, 1);
        if (auto* box = qobject_cast<QGroupBox*>(owner))
            m_frame = box->title();
    }
    Rows& heading(const QString& text) {
        auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(text));
        m_grid->addWidget(label, m_row++, 1);
        return *this;
    }
    Rows& row(const QString& label, QWidget* control, QWidget* unit = nullptr) {
        if (!label.isEmpty())
            m_grid->addWidget(nameLabel(label, control, m_frame), m_row, 0);
        else if (control->accessibleName().isEmpty())
            control->setAccessibleName(m_frame);
        m_grid->addWidget(control, m_row, 1);
        if (unit)
            m_grid->addWidget(unit, m_row, 2);
        ++m_row;
        return *this;
    }
    Rows& row(const QString& label, QWidget* control, const QString& unit) {
        return row(label, control, new QLabel(unit));
    }
    Rows& span(QWidget* widget) {
        m_grid->addWidget(widget, m_row++, 0, 1, 4);
        return *this;
    }
    Rows& stretch() {
        m_grid->setRowStretch(m_row, 1);
        return *this;
    }

private:
    QGridLayout* m_grid;
    QString m_frame;
    int m_row = 0;
};

// A tab page that scrolls when the screen is too small for it, and asks for
// its whole size otherwise.
class ScrollingPage : public QScrollArea {
public:
    explicit ScrollingPage(QWidget* page) {
        setWidget(page);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

QWidget* page(const std::initializer_list<QWidget*>& columns) {
    auto* widget = new QWidget;
    auto* layout = new QHBoxLayout(widget);
    for (QWidget* column : columns)
        layout->addWidget(column, 1, Qt::AlignTop);
    return widget;
}

QWidget* column(const std::initializer_list<QWidget*>& widgets) {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* item : widgets)
        layout->addWidget(item);
    layout->addStretch(1);
    return widget;
}

// A frame that holds a single control, or a row of them.
QGroupBox* framed(const QString& caption, QWidget* control, const QString& unit = QString(),
                  const QString& name = QString()) {
    QGroupBox* box = group(caption, name);
    Rows(box).row(QString(), control, unit.isEmpty() ? nullptr : new QLabel(unit));
    return box;
}

} // namespace

void fMain::createLayout() {
    for (int i = 0; i < FieldControls::TextBoxCount; ++i) {
        txtNvi[i] = new QLineEdit;
        txtNvi[i]->setObjectName(QStringLiteral("txtNvi_%1").arg(i));
        // Values are short numbers; only the location is free text.
        if (i != rules::LocationBox)
            txtNvi[i]->setMaximumWidth(
                txtNvi[i]->fontMetrics().horizontalAdvance(QStringLiteral("-0000.000")) + 16);
    }
    // The versions and the model identify the device: shown, never edited.
    for (int i : {47, 48, 49, 50})
        txtNvi[i]->setReadOnly(true);
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i) {
        cbNvi[i] = new ValueComboBox;
        cbNvi[i]->setObjectName(QStringLiteral("cbNvi_%1").arg(i));
        // Editable so that any value the device holds can be shown; the
        // user changes it only by choosing an item.
        cbNvi[i]->setEditable(true);
        cbNvi[i]->lineEdit()->setReadOnly(true);
        cbNvi[i]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    for (int i = 0; i < static_cast<int>(txtTempUnits.size()); ++i) {
        txtTempUnits[i] = new QLabel(DesignTempUnit);
        txtTempUnits[i]->setObjectName(QStringLiteral("txtTempUnits_%1").arg(i));
    }
    txtUnitMinPos = new QLabel(QStringLiteral("%"));
    txtUnitMinPos->setObjectName(QStringLiteral("txtUnitMinPos_0"));

    tabData = new QTabWidget;
    tabData->setObjectName(QStringLiteral("tabData"));
    // Every tab's caption stays in sight.
    tabData->setUsesScrollButtons(false);
    const std::array<std::pair<QString, QWidget*>, 8> tabs = {{
        {tabCaptions()[0], createHeatingCoolingTab()},
        {tabCaptions()[1], createHardwareTab()},
        {tabCaptions()[2], createGeneralTab()},
        {tabCaptions()[3], createModelTab()},
        {tabCaptions()[4], createSchedulerTab()},
        {tabCaptions()[5], createNetworkTab()},
        {tabCaptions()[6], createContactTab()},
        {tabCaptions()[7], createAboutTab()},
    }};
    for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
        frmCategory[i] = new QGroupBox;
        frmCategory[i]->setObjectName(QStringLiteral("frmCategory_%1").arg(i));
        frmCategory[i]->setFlat(true);
        auto* inner = new QVBoxLayout(frmCategory[i]);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(tabs[i].second);
        tabData->addTab(new ScrollingPage(frmCategory[i]), tabs[i].first);
    }
    for (QComboBox* box : cbNvi)
        nameComboBox(box, box->accessibleName());

    lbModel = new QLabel(QStringLiteral("Undefined model"));
    lbModel->setObjectName(QStringLiteral("lbModel"));
    lbHvacType = new QLabel(QStringLiteral("HVT_UNKNOWN"));
    lbHvacType->setObjectName(QStringLiteral("lbHvacType"));
    lblDeviceTemplate = new QLabel(QStringLiteral("Device Template"));
    lblDeviceTemplate->setObjectName(QStringLiteral("lblDeviceTemplate"));
    lblDeviceTemplate->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Picture1 = new QLabel;
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Line1 = new QFrame;
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto* identity = new QWidget;
    auto* identityLayout = new QHBoxLayout(identity);
    identityLayout->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QGridLayout;
    QFont bold = lbModel->font();
    bold.setBold(true);
    lbModel->setFont(bold);
    lbHvacType->setFont(bold);
    texts->addWidget(new QLabel(QStringLiteral("Model:")), 0, 0);
    texts->addWidget(lbModel, 0, 1);
    texts->addWidget(new QLabel(QStringLiteral("HVAC type:")), 1, 0);
    texts->addWidget(lbHvacType, 1, 1);
    texts->addWidget(lblDeviceTemplate, 2, 0, 1, 2);
    texts->setColumnStretch(1, 1);
    identityLayout->addLayout(texts, 1);
    identityLayout->addWidget(Picture1, 0, Qt::AlignRight | Qt::AlignVCenter);

    txtDebug = new QLineEdit(QStringLiteral("0"));
    txtDebug->setObjectName(QStringLiteral("txtDebug"));
    txtDebug->hide();
    cmdDebug = new QPushButton(QStringLiteral("Set model"));
    cmdDebug->setObjectName(QStringLiteral("cmdDebug"));
    cmdDebug->hide();

    StatusBar = new QStatusBar;
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        StatusPanels[i] = new QLabel;
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel_%1").arg(i + 1));
        StatusBar->addWidget(StatusPanels[i], i == 0 ? 1 : 2);
    }

    auto* main = new QVBoxLayout(this);
    main->addWidget(identity);
    main->addWidget(Line1);
    main->addWidget(tabData, 1);
    main->addWidget(createBottomRow());
    main->addWidget(txtDebug);
    main->addWidget(StatusBar);
}

QLineEdit* fMain::textBox(int index) {
    return txtNvi[index];
}

QComboBox* fMain::comboBox(int index, const QStringList& items) {
    cbNvi[index]->addItems(items);
    return cbNvi[index];
}

QLabel* fMain::tempUnits(int index) {
    return txtTempUnits[index];
}

QWidget* fMain::createHeatingCoolingTab() {
    QGroupBox* heating = group(QStringLiteral("Heating"));
    Rows(heating)
        .heading(QStringLiteral("Setpoints"))
        .row(QStringLiteral("Occupied"), textBox(0), tempUnits(0))
        .row(QStringLiteral("Unoccupied"), textBox(1), tempUnits(1))
        .row(QStringLiteral("Maximum limit"), textBox(4), tempUnits(2))
        .row(QStringLiteral("OA Temperature Lockout"), textBox(5), tempUnits(3))
        .row(QStringLiteral("Cycles per hour"), comboBox(0, itemsOf(0)));
    QGroupBox* cooling = group(QStringLiteral("Cooling"));
    Rows(cooling)
        .heading(QStringLiteral("Setpoints"))
        .row(QStringLiteral("Occupied"), textBox(2), tempUnits(4))
        .row(QStringLiteral("Unoccupied"), textBox(3), tempUnits(5))
        .row(QStringLiteral("Minimum limit"), textBox(6), tempUnits(6))
        .row(QStringLiteral("OA Temperature Lockout"), textBox(7), tempUnits(7))
        .row(QStringLiteral("Cycles per hour"), comboBox(1, itemsOf(1)));
    auto* below = new QWidget;
    Rows(below)
        .row(QStringLiteral("Proportional band"), comboBox(23, itemsOf(23)))
        .row(QStringLiteral("Deadband"),
             comboBox(2, {QStringLiteral("2  "), QStringLiteral("3"), QStringLiteral("4")}),
             tempUnits(11));
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(page({heating, cooling}));
    layout->addWidget(page({below, new QWidget}));
    layout->addStretch(1);
    return tab;
}

QWidget* fMain::createHardwareTab() {
    QGroupBox* inputs = group(QStringLiteral("Inputs"));
    QGroupBox* calibration = group(QStringLiteral("Temperature sensor calibration"));
    Rows(calibration)
        .row(QStringLiteral("Room sensor offset"), textBox(9), tempUnits(8))
        .row(QStringLiteral("Outdoor sensor offset"), textBox(8), tempUnits(9));
    Rows(inputs)
        .row(QStringLiteral("Digital Input #1"), comboBox(3, itemsOf(3)))
        .row(QStringLiteral("Digital Input #2"), comboBox(4, itemsOf(4)))
        .span(calibration);
    QGroupBox* outputs = group(QStringLiteral("Outputs"));
    frmHeatPumpStages = framed(QStringLiteral("Number of heatpump stages"), comboBox(8, itemsOf(8)),
                               QString(), QStringLiteral("frmHeatPumpStages"));
    frmHeatingStages = framed(QStringLiteral("Number of heating stages"), comboBox(7, itemsOf(7)),
                              QString(), QStringLiteral("frmHeatingStages"));
    Rows(outputs)
        .row(QStringLiteral("Powerup Delay"), textBox(10), QStringLiteral("Sec"))
        .row(QStringLiteral("Anticycle"), comboBox(5, itemsOf(5)))
        .row(QStringLiteral("Auxiliary contact"), comboBox(6, itemsOf(6)))
        .span(frmHeatPumpStages)
        .span(frmHeatingStages);
    return page({inputs, outputs});
}

QWidget* fMain::createGeneralTab() {
    QGroupBox* security = group(QStringLiteral("Security"));
    Rows(security)
        .row(QStringLiteral("Password"), textBox(52))
        .row(QStringLiteral("Keypad lockout"), comboBox(15, itemsOf(15)));
    QGroupBox* fan = group(QStringLiteral("Fan"));
    Rows(fan)
        .row(QStringLiteral("Heating mode control"), comboBox(9, itemsOf(9)))
        .row(QStringLiteral("Purge Delay"), comboBox(10, itemsOf(10)))
        .row(QStringLiteral("Fan mode"), comboBox(22, itemsOf(22)));
    QGroupBox* display = group(QStringLiteral("Display"));
    Rows(display)
        .row(QStringLiteral("Scale"), comboBox(12, itemsOf(12)))
        .row(QStringLiteral("Menu scroll"), comboBox(21, itemsOf(21)));
    frmProgRecovery = framed(QStringLiteral("Progressive recovery"), comboBox(14, itemsOf(14)),
                             QString(), QStringLiteral("frmProgRecovery"));
    return page(
        {column({security, fan,
                 framed(QStringLiteral("Frost Protection"), comboBox(11, itemsOf(11)))}),
         column({display,
                 framed(QStringLiteral("Temporary occupied time"), comboBox(13, itemsOf(13)),
                        QStringLiteral("Hours")),
                 framed(QStringLiteral("Unoccupied timer"), textBox(53), QStringLiteral("Hours")),
                 frmProgRecovery})});
}

QWidget* fMain::createModelTab() {
    frmSelectOfflineHvacType = group(QString(), QStringLiteral("frmSelectOfflineHvacType"));
    auto* offlineMessage = new QLabel(QStringLiteral(
        "Unable to read model type while the plug-in is working in offline mode.  Please select "
        "your device type so the plug-in could present the appropriate options to the user."));
    offlineMessage->setWordWrap(true);
    cbOfflineHvacType = new QComboBox;
    cbOfflineHvacType->setObjectName(QStringLiteral("cbOfflineHvacType"));
    cbOfflineHvacType->addItems({QStringLiteral("Heat-Pump model"),
                                 QStringLiteral("Roof-Top with Economizer"),
                                 QStringLiteral("Other")});
    cbOfflineHvacType->setPlaceholderText(QStringLiteral("Other"));
    cbOfflineHvacType->setCurrentIndex(-1);
    Rows(frmSelectOfflineHvacType).span(offlineMessage).row(QString(), cbOfflineHvacType);
    // Its frame has no caption; the message above asks for the device type.
    cbOfflineHvacType->setAccessibleName(QStringLiteral("Device type"));
    cbOfflineHvacType->setAccessibleDescription(offlineMessage->text());

    frmHeatPump = group(QStringLiteral("Heat Pump"), QStringLiteral("frmHeatPump"));
    Rows(frmHeatPump)
        .row(QStringLiteral("High Balance Point"), textBox(45), tempUnits(13))
        .row(QStringLiteral("Low balance point"), textBox(46), tempUnits(14))
        .span(framed(QStringLiteral("Comfort mode"), comboBox(19, itemsOf(19))))
        .span(framed(QStringLiteral("Reversing Valve Configuration"), comboBox(18, itemsOf(18))))
        .span(framed(QStringLiteral("Compressor/Auxiliary Interlock"), comboBox(20, itemsOf(20))));

    frmEconomizer = group(QStringLiteral("Economizer"), QStringLiteral("frmEconomizer"));
    Rows(frmEconomizer)
        .row(QStringLiteral("Changeover Setpoint"), textBox(42), tempUnits(10))
        .row(QStringLiteral("Minimum position"), textBox(43), txtUnitMinPos)
        .row(QStringLiteral("Mixed air setpoint"), textBox(44), tempUnits(12))
        .span(framed(QStringLiteral("Mechanical cooling enable"), comboBox(17, itemsOf(17))));

    // Side by side, so that when the type is not known and both show, neither
    // draws over the other; usually one of them is hidden.
    return column({frmSelectOfflineHvacType, page({frmHeatPump, frmEconomizer})});
}

QWidget* fMain::createSchedulerTab() {
    QGroupBox* menu = framed(QStringLiteral("Menu Display"), comboBox(16, itemsOf(16)));
    auto periode = [&](const QString& caption, int offset, const QString& name) {
        QGroupBox* box = group(caption, name);
        auto* grid = new QGridLayout(box);
        grid->addWidget(new QLabel(QStringLiteral("<b>Begin</b>")), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("<b>End</b>")), 0, 2);
        for (int day = 0; day < 7; ++day) {
            QLineEdit* begin = textBox(11 + offset + 4 * day);
            QLineEdit* end = textBox(12 + offset + 4 * day);
            grid->addWidget(nameLabel(Days[day], begin, caption), day + 1, 0);
            end->setAccessibleName(accessibleNameOf(Days[day] + QStringLiteral(" end"), caption));
            begin->setAccessibleName(
                accessibleNameOf(Days[day] + QStringLiteral(" begin"), caption));
            grid->addWidget(begin, day + 1, 1);
            grid->addWidget(end, day + 1, 2);
        }
        return box;
    };
    QGroupBox* periode1 =
        periode(QStringLiteral("Occ. Periode 1"), 0, QStringLiteral("frmPeriode1"));
    frmPeriode2 = periode(QStringLiteral("Occ. Periode 2"), 2, QStringLiteral("frmPeriode2"));
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(menu);
    auto* periodes = new QHBoxLayout;
    periodes->addWidget(periode1, 1, Qt::AlignTop);
    periodes->addWidget(frmPeriode2, 1, Qt::AlignTop);
    layout->addLayout(periodes);
    layout->addStretch(1);
    return tab;
}

QWidget* fMain::createNetworkTab() {
    QGroupBox* output = group(QStringLiteral("Output"));
    Rows(output)
        .row(QStringLiteral("Heartbeat"), textBox(39), QStringLiteral("Sec"))
        .row(QStringLiteral("Throttle"), textBox(40), QStringLiteral("Sec"));
    QGroupBox* input = group(QStringLiteral("Intput"));
    Rows(input).row(QStringLiteral("Heartbeat"), textBox(41), QStringLiteral("Sec"));
    return page({output, input});
}

QWidget* fMain::createContactTab() {
    WebBrowser1 = new QTextBrowser;
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setOpenExternalLinks(false);
    return WebBrowser1;
}

QWidget* fMain::createAboutTab() {
    QGroupBox* location = group(QStringLiteral("Location"));
    Rows(location).span(textBox(51));
    txtNvi[rules::LocationBox]->setAccessibleName(QStringLiteral("Location"));
    txtMajorVersion = new QLineEdit;
    txtMajorVersion->setObjectName(QStringLiteral("txtMajorVersion"));
    txtMinorVersion = new QLineEdit;
    txtMinorVersion->setObjectName(QStringLiteral("txtMinorVersion"));
    for (QLineEdit* box : {txtMajorVersion, txtMinorVersion})
        box->setReadOnly(true);
    QGroupBox* plugIn = group(QStringLiteral("Plug-In"));
    Rows(plugIn)
        .row(QStringLiteral("Major Version"), txtMajorVersion)
        .row(QStringLiteral("Minor Version"), txtMinorVersion);
    QGroupBox* thermostat = group(QStringLiteral("Thermostat"));
    Rows(thermostat)
        .row(QStringLiteral("Model"), textBox(49))
        .row(QStringLiteral("Version"), textBox(50));
    QGroupBox* module = group(QStringLiteral("Echelon Module"));
    Rows(module)
        .row(QStringLiteral("Major Version"), textBox(48))
        .row(QStringLiteral("Minor Version"), textBox(47));
    QGroupBox* versions = group(QStringLiteral("Version Information"));
    auto* versionsLayout = new QHBoxLayout(versions);
    for (QGroupBox* box : {plugIn, thermostat, module})
        versionsLayout->addWidget(box, 1, Qt::AlignTop);
    return column({location, versions});
}

QWidget* fMain::createBottomRow() {
    frmUnits = group(QStringLiteral("Plug-In Display Units"), QStringLiteral("frmUnits"));
    obUnits[0] = new QRadioButton(QStringLiteral("&Metric"));
    obUnits[1] = new QRadioButton(QStringLiteral("&Imperial"));
    auto* unitsLayout = new QHBoxLayout(frmUnits);
    const std::array<QString, 2> tags = {QStringLiteral("#SI"), QStringLiteral("#US")};
    for (int i = 0; i < 2; ++i) {
        obUnits[i]->setObjectName(QStringLiteral("obUnits_%1").arg(i));
        obUnits[i]->setProperty("Tag", tags[i]);
        unitsLayout->addWidget(obUnits[i]);
    }
    auto pictureButton = [](const QString& name, const QIcon& icon, const QString& tip) {
        auto* button = new QToolButton;
        button->setObjectName(name);
        button->setIcon(icon);
        button->setIconSize(QSize(24, 24));
        button->setToolTip(tip);
        button->setAutoRaise(false);
        return button;
    };
    cmdHelp = pictureButton(QStringLiteral("cmdHelp"), QIcon(QStringLiteral(":/window/help.png")),
                            QStringLiteral("Help"));
    cmdHelp->setAccessibleName(QStringLiteral("Help"));
    cmdViewLog =
        pictureButton(QStringLiteral("cmdViewLog"), QIcon(QStringLiteral(":/window/log.png")),
                      QStringLiteral("Network activity log"));
    cmdViewLog->setAccessibleName(QStringLiteral("Activity log"));
    auto button = [](const QString& name, const QString& caption) {
        auto* push = new QPushButton(caption);
        push->setObjectName(name);
        push->setAutoDefault(false);
        return push;
    };
    cmdRefresh = button(QStringLiteral("cmdRefresh"), QStringLiteral("&Refresh All"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    cmdApply = button(QStringLiteral("cmdApply"), QStringLiteral("&Apply"));
    cmdExit = button(QStringLiteral("cmdExit"), QStringLiteral("&Exit"));
    cmdApply->setEnabled(false);
    cmdCancel->setEnabled(false);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frmUnits);
    layout->addWidget(cmdHelp, 0, Qt::AlignBottom);
    layout->addWidget(cmdViewLog, 0, Qt::AlignBottom);
    layout->addStretch(1);
    for (QPushButton* push : {cmdRefresh, cmdCancel, cmdApply, cmdExit})
        layout->addWidget(push, 0, Qt::AlignBottom);
    layout->addWidget(cmdDebug, 0, Qt::AlignBottom);
    return row;
}

// An editable box is read through its text field, which has no label of its
// own: it carries the box's name.
void fMain::nameComboBox(QComboBox* box, const QString& name) {
    box->setAccessibleName(name);
    if (QLineEdit* field = box->lineEdit())
        field->setAccessibleName(name);
}

void fMain::bindFieldControls() {
    auto bind = [](QWidget* widget) { return std::make_shared<WidgetFieldControl>(widget); };
    for (int i = 0; i < FieldControls::TextBoxCount; ++i)
        m_fieldControls.txtNvi[i] = bind(txtNvi[i]);
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i)
        m_fieldControls.cbNvi[i] = bind(cbNvi[i]);
    m_fieldControls.txtDebug = bind(txtDebug);
    m_fieldControls.lbModel = bind(lbModel);
    m_fieldControls.lbHvacType = bind(lbHvacType);
}
