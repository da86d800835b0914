// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// FTP with TLS: the check of the server's certificate stays libcurl's and
// OpenSSL's own (peer and host name, against the system's authorities), on
// the publish's own connections and never on a second one. What this adds
// is what a message needs and libcurl's error text lacks: OpenSSL's verify
// callback keeps the reason and the names the certificate is for. And the
// authorities are read once for a publish, where libcurl would read them
// again for every data connection (40 ms each).
#pragma once

#include <curl/curl.h>
#include <openssl/x509.h>

#include <string>

namespace velmora::publish {

/// Once per process, before the first check.
void initializeCertificateChecks();

class CertificateCheck {
public:
    /// `extraAuthority`: a file of authorities trusted besides the system's
    /// (Connection::extraAuthority), or empty.
    explicit CertificateCheck(std::string extraAuthority);
    CertificateCheck(const CertificateCheck&) = delete;
    CertificateCheck& operator=(const CertificateCheck&) = delete;
    ~CertificateCheck();

    /// Puts `easy` on TLS for the login and every data connection, at most
    /// TLS 1.2, with the certificate and the host name checked through this
    /// check. The first option libcurl refuses, or CURLE_OK.
    [[nodiscard]] CURLcode install(CURL* easy);

    /// Why the certificate was refused, in words for the user; `host` is the
    /// name the user gave.
    [[nodiscard]] std::string reason(const std::string& host) const;
    /// The names the server's certificate is for, ", "-separated.
    [[nodiscard]] const std::string& names() const noexcept { return names_; }

private:
    static CURLcode onContext(CURL* easy, void* context, void* self);
    static int onVerify(int ok, X509_STORE_CTX* store);
    [[nodiscard]] bool loadAuthorities();

    std::string extraAuthority_;
    std::string systemFile_;  // as libcurl would read them
    std::string systemFolder_;
    X509_STORE* authorities_ = nullptr;  // made on the first connection
    long error_ = X509_V_OK;             // OpenSSL's first complaint
    std::string names_;
};

}  // namespace velmora::publish
