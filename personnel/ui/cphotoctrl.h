#pragma once

#include "personnel/cpersonbase.h"
#include "personnel/cpicture.h"

#include <QWidget>

#include <optional>

// Shows one person's photo and changes it: from a file, saved out to a file, cleared. The
// photo pane stores every change at once; the person form leaves the change waiting and
// stores it with the person (pendingPhoto()). A file that does not decode changes nothing:
// the shown photo stays. Without a stored photo the placeholder ":/IMAGE/356" shows, drawn at
// its natural size in the top-left corner.
class CPhotoCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CPhotoCtrl(QWidget *parent = nullptr);

    // The person whose photo is shown: the PID, number and name are read.
    CPersonBase m_person;
    bool m_bStoreAtOnce = false;

    // Shows the stored photo of the person; a failed query keeps the shown picture.
    void LoadPhoto(int pid);
    // Takes bytes as the new photo; false (and the message) when they do not decode.
    bool SetPhotoFromBytes(const QByteArray &bytes);
    bool SetPhotoFromFile(const QString &path);
    // The whole rest of an open file or buffer.
    bool SetPhotoFromFile(QIODevice *file);
    void ClearPhoto();
    void ShowNoPhoto();
    // Writes the waiting change to qz_PsnAdj and logs "照片更新" or "照片清除" when a row was
    // written or deleted.
    void StorePhoto();
    // Dialogs: choose a file to set, or a name to save the shown photo to.
    void OpenPhotoFile();
    void SavePhotoAs();
    // The camera dialog with this control as the target of its photos.
    void TakeCameraPhoto();
    // Saves the kept bytes under the path (the format's extension added when it lacks it)
    // and logs it; false when nothing was written.
    bool SavePhotoTo(const QString &path);

    bool IsChanged() const { return m_bChanged; }
    // The change waiting to be stored: new bytes, or empty bytes for a cleared photo.
    std::optional<QByteArray> pendingPhoto() const;
    void setStored() { m_bChanged = false; }
    const CPicture &picture() const { return m_picture; }
    bool showsPlaceholder() const { return m_bPlaceholder; }

Q_SIGNALS:
    // WM_DATA_CHANGED: a photo was set or cleared.
    void dataChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CPicture m_picture;
    bool m_bChanged = false;
    bool m_bPlaceholder = true;
};
