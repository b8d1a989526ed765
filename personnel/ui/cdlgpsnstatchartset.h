#pragma once

#include "ui/dialogs/cdialogexx.h"

class CMyChartView;
class CRotationCtrl;
class QCheckBox;
class QComboBox;
class QPushButton;

// The window whose chart the settings dialog edits.
class IPsnStatChartOwner
{
public:
    virtual ~IPsnStatChartOwner() = default;
    // Takes the settings into the owner's members, then redraws its chart.
    virtual void ApplyChartSettings(int colorTheme, int fillGradientType, bool showDataLabels) = 0;
    // Turns the owner's chart by a part of the rotation pad.
    virtual void RotateChart(int part, double xStep, double yStep, double perspectiveStep) = 0;
    virtual CMyChartView *chartView() const = 0;
};

// "图表设置": the colour theme, fill and data labels of the statistics chart, and a pad that
// turns a pie or 3D chart. Every change reaches the owner at once; OK and the close box only
// close, nothing is handed back. The pad is shown for the pie and 3D types only (2, 3, 20,
// 21); without it the window is 130 pixels lower.
class CDlgPsnStatChartSet : public CDialogExx
{
    Q_OBJECT

public:
    CDlgPsnStatChartSet(IPsnStatChartOwner *owner, int chartType, int colorTheme,
                        int fillGradientType, bool showDataLabels, QWidget *parent = nullptr);

    QComboBox *themeBox() const { return m_themeBox; }
    QComboBox *fillBox() const { return m_fillBox; }
    QCheckBox *labelsBox() const { return m_labelsBox; }
    CRotationCtrl *rotationCtrl() const { return m_rotation; }
    QPushButton *resetButton() const { return m_resetButton; }

    // The steps one press of the pad turns by.
    static constexpr double rotationStep = 10.0;
    static constexpr double perspectiveStep = 0.1;
    // How much lower the window is without the pad.
    static constexpr int padHeight = 130;

private:
    void OnRotate(int part);
    void OnApply();
    void OnReset();
    void UpdateRotationParts();
    void UpdateData();

    IPsnStatChartOwner *m_pOwner;
    QComboBox *m_themeBox;
    CRotationCtrl *m_rotation;
    QComboBox *m_fillBox;
    QCheckBox *m_labelsBox;
    QPushButton *m_resetButton;
    int m_nChartType;
    int m_nColorTheme;
    int m_nFillGradientType;
    bool m_bShowDataLabels;
};
