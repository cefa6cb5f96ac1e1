#include "framework/WindowHostBase.h"

#include "framework/Wnd.h"

namespace afx {

WindowHostBase::WindowHostBase(WindowHost* host, CWnd* owner) : m_host(host), m_owner(owner) {}

WindowHostBase::~WindowHostBase() = default;

CWnd* WindowHostBase::Owner() const {
    if (m_owner != nullptr) {
        return m_owner;
    }
    if (!m_plain && Lives()) {
        m_plain = std::make_unique<CWnd>();
        m_plain->m_hWnd = m_handle;
        m_plain->m_pHost = m_host;
    }
    return m_plain.get();
}

void WindowHostBase::Bind(CWnd* owner) {
    Unbind();
    m_owner = owner;
    owner->m_hWnd = m_handle;
    owner->m_pHost = m_host;
}

void WindowHostBase::Unbind() {
    if (m_owner != nullptr && m_owner->m_pHost == m_host) {
        m_owner->m_hWnd = nullptr;
        m_owner->m_pHost = nullptr;
    }
    m_owner = nullptr;
    if (m_plain) {
        m_plain->m_hWnd = nullptr;
        m_plain->m_pHost = nullptr;
    }
}

}  // namespace afx
