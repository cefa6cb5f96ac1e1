#pragma once
// The IPv4 address control. Qt only: on Windows it is the system's own (the common controls').

#include <QFrame>
#include <QLineEdit>
#include <QString>

#include <array>

#include "framework/AfxTypes.h"

namespace afx {

// The IPv4 address control: four fields of 0 to 255; "." or a full field moves to the next one.
class IpAddressEdit : public QFrame {
    Q_OBJECT

public:
    explicit IpAddressEdit(QWidget* parent);

    int Address(std::array<BYTE, 4>* fields) const;  // number of fields that are not blank
    void SetAddress(const std::array<BYTE, 4>& fields);
    QString DottedText() const;
    QLineEdit* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 4> m_fields{};
};

}  // namespace afx
