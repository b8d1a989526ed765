#pragma once

#include "personnel/cframesource.h"

#include <QDialog>

#include <memory>

class CPhotoCtrl;
class CPictureCap;
class QComboBox;
class QPushButton;
class QSoundEffect;
class QSpinBox;

namespace Ui {
class CDlgVidCap;
}

// 摄像头拍照: the live picture of a camera with the focus frame, whose size is typed in the
// spins and kept in the profile ("Camera"/"FoucsWidth", "FoucsHeight", misspelt as stored).
// Capturing starts when the dialog first shows and stops however it closes. Each photo is the
// focus frame cut from the preview, as JPEG, handed to the target photo control (stored at
// once when the target does so), then the shutter sounds where there is an audio device.
class CDlgVidCap : public QDialog
{
    Q_OBJECT

public:
    // source: the frame source to use (taken over); null takes the one of this run.
    explicit CDlgVidCap(QWidget *parent = nullptr, std::unique_ptr<CFrameSource> source = {});
    ~CDlgVidCap() override;

    // Receives each photo; not owned.
    CPhotoCtrl *m_pTarget = nullptr;

    void OnStartStop();
    void OnTakePhoto();
    void OnFocusSizeChanged();
    void OnCaptureState(bool capturing);
    void done(int result) override;

    // True once the opening steps ran (the first show, then the event loop).
    bool isInitialized() const { return m_bInitialized; }
    CPictureCap *preview() const;
    QComboBox *deviceList() const;
    QPushButton *startButton() const;
    QPushButton *photoButton() const;
    QSpinBox *widthSpin() const;
    QSpinBox *heightSpin() const;
    // The shutter sound; null without an audio device.
    QSoundEffect *shutter() const { return m_pShutter; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::CDlgVidCap> m_ui;
    bool m_bJpegWriter = false;
    bool m_bInitialized = false;
    bool m_bInitQueued = false;
    QSoundEffect *m_pShutter = nullptr;
};
