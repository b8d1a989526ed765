#pragma once

#include <QToolBar>

// The side of a pane that decides which of its toolbar's commands can run now.
class IPaneCmdUI
{
public:
    virtual ~IPaneCmdUI() = default;
    virtual bool IsPaneCommandEnabled(int id) const = 0;
};

// The toolbar inside a pane of the personnel frame (photo, attachments, related archives).
// Its buttons are commands with an id (the action's data); the pane that owns the toolbar
// enables them, not the frame: UpdateCmdUI asks the owner, or without one the nearest parent
// that answers IPaneCmdUI. It runs whenever the toolbar is shown and when the pane calls it
// after its state changed.
class CPaneToolBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CPaneToolBar(QWidget *parent = nullptr);

    // The widget that enables the buttons; null to use the parents. Not owned.
    void SetOwner(QWidget *owner) { m_pOwner = owner; }
    QAction *AddCommand(int id, const QString &text);
    // Null when the toolbar has no such command.
    QAction *command(int id) const;
    QList<QAction *> commands() const;
    void UpdateCmdUI();

protected:
    void showEvent(QShowEvent *event) override;

private:
    const IPaneCmdUI *target() const;

    QWidget *m_pOwner = nullptr;
};
