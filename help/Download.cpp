#include "help/Download.h"

#include <curl/curl.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace {

struct Transfer {
    std::ofstream file;
    const DownloadProgress *progress;
};

size_t WriteChunk(char *data, size_t size, size_t count, void *transfer)
{
    auto &file = static_cast<Transfer *>(transfer)->file;
    file.write(data, static_cast<std::streamsize>(size * count));
    return file ? size * count : 0;
}

int ReportProgress(void *transfer, curl_off_t total, curl_off_t received, curl_off_t, curl_off_t)
{
    const auto &progress = *static_cast<Transfer *>(transfer)->progress;
    if (progress) progress(received, total);
    return 0;
}

void Perform(CURL *curl, const std::string &address, Transfer &transfer, long limitSeconds)
{
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,file");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limitSeconds);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) throw std::runtime_error(curl_easy_strerror(result));
}

}  // namespace

void DownloadToFile(const std::string &address, const std::string &path,
                    const DownloadProgress &progress, long limitSeconds)
{
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) throw std::runtime_error("The download could not be started.");
    Transfer transfer{std::ofstream(path, std::ios::binary | std::ios::trunc), &progress};
    if (!transfer.file) throw std::runtime_error("Cannot create " + path);
    try {
        Perform(curl.get(), address, transfer, limitSeconds);
        transfer.file.close();
        if (!transfer.file) throw std::runtime_error("Cannot write " + path);
    } catch (...) {
        transfer.file.close();
        std::remove(path.c_str());
        throw;
    }
}
