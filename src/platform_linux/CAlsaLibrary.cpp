// SPDX-License-Identifier: MIT
#include "CAlsaLibrary.h"

#include <cstdio>
#include <dlfcn.h>

namespace {

void DiscardAlsaMessage(const char*, int, const char*, int, const char*, ...)
{
}

template <typename TFunction>
bool Find(void* pLibrary, const char* pszFile, const char* pszName, TFunction& pFunction)
{
    pFunction = reinterpret_cast<TFunction>(dlsym(pLibrary, pszName));
    if (!pFunction)
        std::fprintf(stderr, "orvo: no sound: %s has no %s\n", pszFile, pszName);
    return pFunction != nullptr;
}

}  // namespace

CAlsaLibrary::CAlsaLibrary(const char* pszFile)
{
    void* pLibrary = dlopen(pszFile, RTLD_NOW | RTLD_LOCAL);
    if (!pLibrary) {
        std::fprintf(stderr, "orvo: no sound: %s\n", dlerror());
        return;
    }
    decltype(&snd_lib_error_set_handler) pSetErrorHandler = nullptr;
    m_bLoaded = Find(pLibrary, pszFile, "snd_pcm_open", pcm_open) &&
                Find(pLibrary, pszFile, "snd_pcm_close", pcm_close) &&
                Find(pLibrary, pszFile, "snd_pcm_nonblock", pcm_nonblock) &&
                Find(pLibrary, pszFile, "snd_pcm_set_params", pcm_set_params) &&
                Find(pLibrary, pszFile, "snd_pcm_writei", pcm_writei) &&
                Find(pLibrary, pszFile, "snd_pcm_recover", pcm_recover) &&
                Find(pLibrary, pszFile, "snd_pcm_drain", pcm_drain) &&
                Find(pLibrary, pszFile, "snd_lib_error_set_handler", pSetErrorHandler);
    // Without a sound card ALSA would print its complaints on every effect.
    if (m_bLoaded)
        pSetErrorHandler(&DiscardAlsaMessage);
}

const CAlsaLibrary* CAlsaLibrary::Shared()
{
    // Never destroyed: see the header.
    static const CAlsaLibrary* const s_pLibrary = new CAlsaLibrary("libasound.so.2");
    return s_pLibrary->IsLoaded() ? s_pLibrary : nullptr;
}
