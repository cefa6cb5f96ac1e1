#include <cstring>

#include "console/ConsoleDlg.h"
#include "net/winsock.h"

// Lists every IPv4 address the host's own name resolves to, in resolver order, and selects the
// last one. When the name cannot be had or resolved, the list stays empty and nothing is selected.
void CConsoleDlg::FillLocalAddresses() {
    char hostName[128];
    if (winsock::gethostname(hostName, sizeof hostName) != 0) {
        return;
    }
    int count = 0;
    if (const winsock::hostent* host = winsock::gethostbyname(hostName)) {
        for (char** entry = host->h_addr_list; *entry != nullptr; ++entry) {
            winsock::in_addr address{};
            std::memcpy(&address.s_addr, *entry, sizeof address.s_addr);
            const CString text = winsock::inet_ntoa(address);
            m_localAddrs.push_back(text);
            m_comboLocalIp.AddString(text);
            ++count;
        }
    }
    m_comboLocalIp.SetCurSel(count - 1);
}
