// The Qt window behind a CDialog: forwards mouse, keys, the close box and control notifications
// to its owner, and stops forwarding once the owner has let go of it.
#pragma once

#include <QDialog>

class CDialog;

class CDialogWidget : public QDialog {
public:
    CDialogWidget(CDialog* owner, QWidget* parent);
    CDialog* Owner() const { return m_pOwner; }
    void Release() { m_pOwner = nullptr; }
    // Lets the control of that id report its loss of focus.
    void WatchFocus(QWidget* control);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    CDialog* m_pOwner;
};
