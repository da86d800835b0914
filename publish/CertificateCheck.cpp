// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "publish/CertificateCheck.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace velmora::publish {
namespace {

// Where OpenSSL keeps the check for its callback, which has no argument of
// ours.
int checkIndex = -1;

std::string asnText(const ASN1_STRING* s) {
    return {reinterpret_cast<const char*>(ASN1_STRING_get0_data(s)),
            static_cast<std::size_t>(ASN1_STRING_length(s))};
}

// The DNS names and IPv4 addresses of the subject's alternative names, then
// the common name where it is not among them.
std::string certificateNames(X509* certificate) {
    std::vector<std::string> names;
    auto* alternatives = static_cast<GENERAL_NAMES*>(
        X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; alternatives != nullptr && i < sk_GENERAL_NAME_num(alternatives); ++i) {
        const GENERAL_NAME* name = sk_GENERAL_NAME_value(alternatives, i);
        if (name->type == GEN_DNS) {
            names.push_back(asnText(name->d.dNSName));
        } else if (name->type == GEN_IPADD && ASN1_STRING_length(name->d.iPAddress) == 4) {
            const unsigned char* b = ASN1_STRING_get0_data(name->d.iPAddress);
            names.push_back(std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                            std::to_string(b[2]) + "." + std::to_string(b[3]));
        }
    }
    GENERAL_NAMES_free(alternatives);
    const X509_NAME* subject = X509_get_subject_name(certificate);
    const int cn = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (cn >= 0) {
        std::string common = asnText(X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, cn)));
        if (std::find(names.begin(), names.end(), common) == names.end()) {
            names.push_back(std::move(common));
        }
    }
    std::string all;
    for (const std::string& n : names) all += (all.empty() ? "" : ", ") + n;
    return all;
}

}  // namespace

void initializeCertificateChecks() {
    checkIndex = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
}

CertificateCheck::CertificateCheck(std::string extraAuthority)
    : extraAuthority_(std::move(extraAuthority)) {}

CertificateCheck::~CertificateCheck() { X509_STORE_free(authorities_); }

CURLcode CertificateCheck::install(CURL* easy) {
    // Uploads under TLS 1.3 may arrive empty or hang at their end (curl
    // issues 13556 and 17130).
    long versions = CURL_SSLVERSION_TLSv1_2;
    versions |= CURL_SSLVERSION_MAX_TLSv1_2;
    const char* file = nullptr;
    const char* folder = nullptr;
    curl_easy_getinfo(easy, CURLINFO_CAINFO, &file);
    curl_easy_getinfo(easy, CURLINFO_CAPATH, &folder);
    systemFile_ = file != nullptr ? file : "";
    systemFolder_ = folder != nullptr ? folder : "";
    for (const CURLcode result : {
             curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL)),
             curl_easy_setopt(easy, CURLOPT_SSLVERSION, versions),
             curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L),
             curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L),
             curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, &CertificateCheck::onContext),
             curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, this),
             // the store of onContext instead
             curl_easy_setopt(easy, CURLOPT_CAINFO, static_cast<const char*>(nullptr)),
             curl_easy_setopt(easy, CURLOPT_CAPATH, static_cast<const char*>(nullptr)),
         }) {
        if (result != CURLE_OK) return result;
    }
    return CURLE_OK;
}

bool CertificateCheck::loadAuthorities() {
    X509_STORE* store = X509_STORE_new();
    if (store == nullptr) return false;
    // as libcurl builds its own store
    X509_STORE_set_flags(store, X509_V_FLAG_PARTIAL_CHAIN | X509_V_FLAG_TRUSTED_FIRST);
    const bool file = !systemFile_.empty() && X509_STORE_load_file(store, systemFile_.c_str()) == 1;
    const bool folder =
        !systemFolder_.empty() && X509_STORE_load_path(store, systemFolder_.c_str()) == 1;
    if ((!file && !folder) ||
        (!extraAuthority_.empty() && X509_STORE_load_file(store, extraAuthority_.c_str()) != 1)) {
        X509_STORE_free(store);
        return false;
    }
    authorities_ = store;
    return true;
}

CURLcode CertificateCheck::onContext(CURL* /*easy*/, void* context, void* self) {
    auto* check = static_cast<CertificateCheck*>(self);
    auto* ctx = static_cast<SSL_CTX*>(context);
    if (check->authorities_ == nullptr && !check->loadAuthorities()) {
        return CURLE_SSL_CACERT_BADFILE;
    }
    SSL_CTX_set1_cert_store(ctx, check->authorities_);
    SSL_CTX_set_ex_data(ctx, checkIndex, check);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, &CertificateCheck::onVerify);
    return CURLE_OK;
}

// Notes, never decides: OpenSSL's verdict `ok` goes back unchanged.
int CertificateCheck::onVerify(int ok, X509_STORE_CTX* store) {
    auto* ssl =
        static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto* check =
        ssl == nullptr
            ? nullptr
            : static_cast<CertificateCheck*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), checkIndex));
    if (check != nullptr) {
        if (X509* server = X509_STORE_CTX_get0_cert(store))
            check->names_ = certificateNames(server);
        if (ok == 0 && check->error_ == X509_V_OK) check->error_ = X509_STORE_CTX_get_error(store);
    }
    return ok;
}

std::string CertificateCheck::reason(const std::string& host) const {
    switch (error_) {
        case X509_V_OK:
            // The chain holds, and libcurl refused the names after OpenSSL.
            return "Es ist nicht für " + host + " ausgestellt";
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return "Keine bekannte Zertifizierungsstelle hat es ausgestellt";
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return "Es ist abgelaufen";
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return "Es gilt noch nicht";
        case X509_V_ERR_CERT_REVOKED:
            return "Es wurde widerrufen";
        default:
            return X509_verify_cert_error_string(error_);
    }
}

}  // namespace velmora::publish
