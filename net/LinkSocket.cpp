#include "net/LinkSocket.h"

CLinkSocket::CLinkSocket() : m_pOwner(nullptr) {}

CLinkSocket::~CLinkSocket() = default;

// An event that arrives before an owner is set has nobody to tell and is dropped.

void CLinkSocket::OnAccept(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkAccept(this, errorCode);
    }
    CAsyncSocket::OnAccept(errorCode);
}

void CLinkSocket::OnConnect(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkConnect(this, errorCode);
    }
    CAsyncSocket::OnConnect(errorCode);
}

void CLinkSocket::OnReceive(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkReceive(this, errorCode);
    }
    CAsyncSocket::OnReceive(errorCode);
}

void CLinkSocket::OnClose(int errorCode) {
    if (m_pOwner != nullptr) {
        m_pOwner->OnLinkClose(this, errorCode);
    }
    CAsyncSocket::OnClose(errorCode);
}
