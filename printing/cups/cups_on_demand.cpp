// The CUPS client library, loaded when the program first talks to the print
// service rather than when it starts. Linking libcups and the libraries it
// needs (TLS, Kerberos, Avahi, D-Bus) costs a batch run a few milliseconds at
// every start, also when it prints into a PDF or only plans. The programs
// that print without windows link these functions in place of the library;
// each finds its namesake in libcups at its first call. The compiler holds
// each to the library's own declaration. A library that cannot be loaded,
// or lacks a function, is the print service's absence: the job fails with
// its sentence and status, as with no printer.
#include "engine/error.h"

#include <cups/adminutil.h>
#include <cups/cups.h>

#include <dlfcn.h>

#include <string>

namespace {

constexpr const char* kLibrary = "libcups.so.2";

struct Loaded {
    void* handle = nullptr;
    std::string failure; // the loader's reason when there is no handle
};

// The loader says why only once: a later call is told the same reason.
Loaded load() {
    Loaded loaded;
    loaded.handle = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (loaded.handle == nullptr) {
        const char* reason = dlerror();
        loaded.failure = reason != nullptr ? reason : kLibrary;
    }
    return loaded;
}

void* library() {
    static const Loaded loaded = load();
    if (loaded.handle == nullptr) {
        throw kvalon::KvalonError(kvalon::ErrorKind::PrintServiceAbsent, kLibrary, loaded.failure);
    }
    return loaded.handle;
}

template <typename Function> Function in_library(const char* name) {
    void* found = dlsym(library(), name);
    if (found == nullptr) {
        throw kvalon::KvalonError(kvalon::ErrorKind::PrintServiceAbsent, kLibrary, name);
    }
    return reinterpret_cast<Function>(found);
}

} // namespace

// The library's function of the enclosing function's name, looked up once.
#define KVALON_CUPS_FUNCTION(name) static const auto real = in_library<decltype(&::name)>(#name)

extern "C" {

int cupsAddOption(const char* name, const char* value, int num_options, cups_option_t** options) {
    KVALON_CUPS_FUNCTION(cupsAddOption);
    return real(name, value, num_options, options);
}

int cupsAdminGetServerSettings(http_t* http, int* num_settings, cups_option_t** settings) {
    KVALON_CUPS_FUNCTION(cupsAdminGetServerSettings);
    return real(http, num_settings, settings);
}

ipp_status_t cupsCancelJob2(http_t* http, const char* name, int job_id, int purge) {
    KVALON_CUPS_FUNCTION(cupsCancelJob2);
    return real(http, name, job_id, purge);
}

int cupsCheckDestSupported(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, const char* option,
                           const char* value) {
    KVALON_CUPS_FUNCTION(cupsCheckDestSupported);
    return real(http, dest, info, option, value);
}

cups_dinfo_t* cupsCopyDestInfo(http_t* http, cups_dest_t* dest) {
    KVALON_CUPS_FUNCTION(cupsCopyDestInfo);
    return real(http, dest);
}

ipp_t* cupsDoRequest(http_t* http, ipp_t* request, const char* resource) {
    KVALON_CUPS_FUNCTION(cupsDoRequest);
    return real(http, request, resource);
}

void cupsFreeJobs(int num_jobs, cups_job_t* jobs) {
    KVALON_CUPS_FUNCTION(cupsFreeJobs);
    real(num_jobs, jobs);
}

int cupsGetJobs2(http_t* http, cups_job_t** jobs, const char* name, int myjobs, int whichjobs) {
    KVALON_CUPS_FUNCTION(cupsGetJobs2);
    return real(http, jobs, name, myjobs, whichjobs);
}

ipp_attribute_t* cupsEncodeOption(ipp_t* ipp, ipp_tag_t group_tag, const char* name,
                                  const char* value) {
    KVALON_CUPS_FUNCTION(cupsEncodeOption);
    return real(ipp, group_tag, name, value);
}

void cupsEncodeOptions2(ipp_t* ipp, int num_options, cups_option_t* options, ipp_tag_t group_tag) {
    KVALON_CUPS_FUNCTION(cupsEncodeOptions2);
    real(ipp, num_options, options, group_tag);
}

http_encryption_t cupsEncryption(void) {
    KVALON_CUPS_FUNCTION(cupsEncryption);
    return real();
}

ipp_attribute_t* cupsFindDestDefault(http_t* http, cups_dest_t* dest, cups_dinfo_t* dinfo,
                                     const char* option) {
    KVALON_CUPS_FUNCTION(cupsFindDestDefault);
    return real(http, dest, dinfo, option);
}

ipp_attribute_t* cupsFindDestSupported(http_t* http, cups_dest_t* dest, cups_dinfo_t* dinfo,
                                       const char* option) {
    KVALON_CUPS_FUNCTION(cupsFindDestSupported);
    return real(http, dest, dinfo, option);
}

ipp_status_t cupsFinishDocument(http_t* http, const char* name) {
    KVALON_CUPS_FUNCTION(cupsFinishDocument);
    return real(http, name);
}

void cupsFreeDestInfo(cups_dinfo_t* dinfo) {
    KVALON_CUPS_FUNCTION(cupsFreeDestInfo);
    real(dinfo);
}

void cupsFreeDests(int num_dests, cups_dest_t* dests) {
    KVALON_CUPS_FUNCTION(cupsFreeDests);
    real(num_dests, dests);
}

void cupsFreeOptions(int num_options, cups_option_t* options) {
    KVALON_CUPS_FUNCTION(cupsFreeOptions);
    real(num_options, options);
}

cups_dest_t* cupsGetDest(const char* name, const char* instance, int num_dests,
                         cups_dest_t* dests) {
    KVALON_CUPS_FUNCTION(cupsGetDest);
    return real(name, instance, num_dests, dests);
}

int cupsGetDestMediaByName(http_t* http, cups_dest_t* dest, cups_dinfo_t* dinfo, const char* media,
                           unsigned flags, cups_size_t* size) {
    KVALON_CUPS_FUNCTION(cupsGetDestMediaByName);
    return real(http, dest, dinfo, media, flags, size);
}

int cupsGetDestMediaDefault(http_t* http, cups_dest_t* dest, cups_dinfo_t* dinfo, unsigned flags,
                            cups_size_t* size) {
    KVALON_CUPS_FUNCTION(cupsGetDestMediaDefault);
    return real(http, dest, dinfo, flags, size);
}

int cupsGetDests2(http_t* http, cups_dest_t** dests) {
    KVALON_CUPS_FUNCTION(cupsGetDests2);
    return real(http, dests);
}

cups_dest_t* cupsGetNamedDest(http_t* http, const char* name, const char* instance) {
    KVALON_CUPS_FUNCTION(cupsGetNamedDest);
    return real(http, name, instance);
}

const char* cupsGetOption(const char* name, int num_options, cups_option_t* options) {
    KVALON_CUPS_FUNCTION(cupsGetOption);
    return real(name, num_options, options);
}

ipp_status_t cupsLastError(void) {
    KVALON_CUPS_FUNCTION(cupsLastError);
    return real();
}

const char* cupsLastErrorString(void) {
    KVALON_CUPS_FUNCTION(cupsLastErrorString);
    return real();
}

int cupsParseOptions(const char* arg, int num_options, cups_option_t** options) {
    KVALON_CUPS_FUNCTION(cupsParseOptions);
    return real(arg, num_options, options);
}

const char* cupsServer(void) {
    KVALON_CUPS_FUNCTION(cupsServer);
    return real();
}

void cupsSetPasswordCB2(cups_password_cb2_t cb, void* user_data) {
    KVALON_CUPS_FUNCTION(cupsSetPasswordCB2);
    real(cb, user_data);
}

http_status_t cupsStartDocument(http_t* http, const char* name, int job_id, const char* docname,
                                const char* format, int last_document) {
    KVALON_CUPS_FUNCTION(cupsStartDocument);
    return real(http, name, job_id, docname, format, last_document);
}

const char* cupsUser(void) {
    KVALON_CUPS_FUNCTION(cupsUser);
    return real();
}

http_status_t cupsWriteRequestData(http_t* http, const char* buffer, size_t length) {
    KVALON_CUPS_FUNCTION(cupsWriteRequestData);
    return real(http, buffer, length);
}

http_uri_status_t httpAssembleURI(http_uri_coding_t encoding, char* uri, int urilen,
                                  const char* scheme, const char* username, const char* host,
                                  int port, const char* resource) {
    KVALON_CUPS_FUNCTION(httpAssembleURI);
    return real(encoding, uri, urilen, scheme, username, host, port, resource);
}

void httpClearFields(http_t* http) {
    KVALON_CUPS_FUNCTION(httpClearFields);
    real(http);
}

void httpClose(http_t* http) {
    KVALON_CUPS_FUNCTION(httpClose);
    real(http);
}

http_t* httpConnect2(const char* host, int port, http_addrlist_t* addrlist, int family,
                     http_encryption_t encryption, int blocking, int msec, int* cancel) {
    KVALON_CUPS_FUNCTION(httpConnect2);
    return real(host, port, addrlist, family, encryption, blocking, msec, cancel);
}

int httpError(http_t* http) {
    KVALON_CUPS_FUNCTION(httpError);
    return real(http);
}

void httpFlush(http_t* http) {
    KVALON_CUPS_FUNCTION(httpFlush);
    real(http);
}

int httpGet(http_t* http, const char* uri) {
    KVALON_CUPS_FUNCTION(httpGet);
    return real(http, uri);
}

const char* httpGetHostname(http_t* http, char* s, int slen) {
    KVALON_CUPS_FUNCTION(httpGetHostname);
    return real(http, s, slen);
}

ssize_t httpRead2(http_t* http, char* buffer, size_t length) {
    KVALON_CUPS_FUNCTION(httpRead2);
    return real(http, buffer, length);
}

void httpSetTimeout(http_t* http, double timeout, http_timeout_cb_t cb, void* user_data) {
    KVALON_CUPS_FUNCTION(httpSetTimeout);
    real(http, timeout, cb, user_data);
}

http_status_t httpUpdate(http_t* http) {
    KVALON_CUPS_FUNCTION(httpUpdate);
    return real(http);
}

ssize_t httpWrite2(http_t* http, const char* buffer, size_t length) {
    KVALON_CUPS_FUNCTION(httpWrite2);
    return real(http, buffer, length);
}

ipp_attribute_t* ippAddBoolean(ipp_t* ipp, ipp_tag_t group, const char* name, char value) {
    KVALON_CUPS_FUNCTION(ippAddBoolean);
    return real(ipp, group, name, value);
}

ipp_attribute_t* ippAddInteger(ipp_t* ipp, ipp_tag_t group, ipp_tag_t value_tag, const char* name,
                               int value) {
    KVALON_CUPS_FUNCTION(ippAddInteger);
    return real(ipp, group, value_tag, name, value);
}

ipp_attribute_t* ippAddString(ipp_t* ipp, ipp_tag_t group, ipp_tag_t value_tag, const char* name,
                              const char* language, const char* value) {
    KVALON_CUPS_FUNCTION(ippAddString);
    return real(ipp, group, value_tag, name, language, value);
}

ipp_attribute_t* ippAddStrings(ipp_t* ipp, ipp_tag_t group, ipp_tag_t value_tag, const char* name,
                               int num_values, const char* language, const char* const* values) {
    KVALON_CUPS_FUNCTION(ippAddStrings);
    return real(ipp, group, value_tag, name, num_values, language, values);
}

size_t ippAttributeString(ipp_attribute_t* attr, char* buffer, size_t bufsize) {
    KVALON_CUPS_FUNCTION(ippAttributeString);
    return real(attr, buffer, bufsize);
}

void ippDelete(ipp_t* ipp) {
    KVALON_CUPS_FUNCTION(ippDelete);
    real(ipp);
}

ipp_attribute_t* ippFindAttribute(ipp_t* ipp, const char* name, ipp_tag_t value_tag) {
    KVALON_CUPS_FUNCTION(ippFindAttribute);
    return real(ipp, name, value_tag);
}

ipp_attribute_t* ippFirstAttribute(ipp_t* ipp) {
    KVALON_CUPS_FUNCTION(ippFirstAttribute);
    return real(ipp);
}

ipp_t* ippGetCollection(ipp_attribute_t* attr, int element) {
    KVALON_CUPS_FUNCTION(ippGetCollection);
    return real(attr, element);
}

ipp_tag_t ippGetGroupTag(ipp_attribute_t* attr) {
    KVALON_CUPS_FUNCTION(ippGetGroupTag);
    return real(attr);
}

int ippGetCount(ipp_attribute_t* attr) {
    KVALON_CUPS_FUNCTION(ippGetCount);
    return real(attr);
}

int ippGetInteger(ipp_attribute_t* attr, int element) {
    KVALON_CUPS_FUNCTION(ippGetInteger);
    return real(attr, element);
}

const char* ippGetName(ipp_attribute_t* attr) {
    KVALON_CUPS_FUNCTION(ippGetName);
    return real(attr);
}

const char* ippGetString(ipp_attribute_t* attr, int element, const char** language) {
    KVALON_CUPS_FUNCTION(ippGetString);
    return real(attr, element, language);
}

ipp_tag_t ippGetValueTag(ipp_attribute_t* attr) {
    KVALON_CUPS_FUNCTION(ippGetValueTag);
    return real(attr);
}

ipp_t* ippNew(void) {
    KVALON_CUPS_FUNCTION(ippNew);
    return real();
}

ipp_t* ippNewRequest(ipp_op_t op) {
    KVALON_CUPS_FUNCTION(ippNewRequest);
    return real(op);
}

ipp_attribute_t* ippNextAttribute(ipp_t* ipp) {
    KVALON_CUPS_FUNCTION(ippNextAttribute);
    return real(ipp);
}

int ippPort(void) {
    KVALON_CUPS_FUNCTION(ippPort);
    return real();
}

pwg_media_t* pwgMediaForLegacy(const char* legacy) {
    KVALON_CUPS_FUNCTION(pwgMediaForLegacy);
    return real(legacy);
}

pwg_media_t* pwgMediaForPPD(const char* ppd) {
    KVALON_CUPS_FUNCTION(pwgMediaForPPD);
    return real(ppd);
}

pwg_media_t* pwgMediaForPWG(const char* pwg) {
    KVALON_CUPS_FUNCTION(pwgMediaForPWG);
    return real(pwg);
}

pwg_media_t* pwgMediaForSize(int width, int length) {
    KVALON_CUPS_FUNCTION(pwgMediaForSize);
    return real(width, length);
}

} // extern "C"
