#include "fetch_loader.h"

#include "movie_viewer.h"

namespace zel::web {

void FetchLoader::StartLoading(MovieViewer& viewer) {
    m_walk.emplace(viewer.Table());
    m_current = m_walk->Next();
    m_handedOut = false;
}

void FetchLoader::StopLoading(MovieViewer&) {
    m_walk.reset();
    m_current.reset();
    m_handedOut = false;
}

std::optional<int32_t> FetchLoader::TakeRequest() {
    if (!m_current || m_handedOut) return std::nullopt;
    m_handedOut = true;
    return m_current;
}

bool FetchLoader::Arrived(MovieViewer& viewer, int32_t view, const std::string& localfile, bool arrived) {
    if (!m_current || !m_handedOut || view != *m_current) return false;
    FileControlView(viewer, view, localfile, arrived);
    m_current = m_walk->Next();
    m_handedOut = false;
    if (!m_current) FinishControlLoading(viewer);
    return true;
}

}  // namespace zel::web
