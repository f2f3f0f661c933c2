#include "movie_viewer.h"

#include <utility>

#include "file_names.h"

namespace zel {

MovieViewer::MovieViewer(Dialect dialect, ViewerWindow& window, std::unique_ptr<ViewLoader> loader)
    : m_dialect(dialect),
      m_window(window),
      m_loader(std::move(loader)),
      m_trace(dialect == Dialect::Plugin ? "debug.txt" : "debug.out", dialect == Dialect::Plugin ? "a" : "at") {}

MovieViewer::~MovieViewer() { ReleaseDescription(); }

bool MovieViewer::SetCurrentView(int32_t view) {
    if (view < 0 || (!m_table.Empty() && view >= m_table.viewCount)) return false;
    m_currentView = view;
    return true;
}

void MovieViewer::ReleaseDescription() {
    if (m_loader) m_loader->StopLoading(*this);
    SetLoadState(kNothingToShow);
    m_frames.Reset(0);
    m_table = ViewTable{};
}

ReadStatus MovieViewer::ReadDescription(const std::string& path) {
    const bool plugin = m_dialect == Dialect::Plugin;
    if (plugin) m_window.ShowCursor(ViewerCursor::Wait);

    // The earlier movie goes first, loader included, so that nothing can paint
    // or navigate a table that is being replaced.
    ReleaseDescription();
    // A device is never read as a description: COM1 would hold this thread for good.
    DescriptionRead read = NamesADevice(path) ? DescriptionRead{} : ReadDescriptionFile(path, m_dialect);
    m_refusal = read.problem;
    if (read.status == ReadStatus::Ok) {
        m_table = std::move(read.table);
        m_frames.Reset(m_table.viewCount);
        for (const MorphProblem& problem : read.morphProblems) {
            // A refused morph file costs its pair the triangles, like a missing one.
            std::string text = problem.cantOpen
                                   ? "Error to open file " + problem.path + " !!"
                                   : "Error to read file " + problem.path + " !!\n" + DescribeProblem(problem.detail);
            m_window.ShowMessage(text, kErrorCaption, MessageIcon::Exclamation);
        }
        // The control always starts at view 0. The plug-in starts wherever it
        // stands (a restored view), unless that view is not in this movie.
        if (!plugin || !m_table.HasView(m_currentView)) m_currentView = 0;
        if (!plugin || !m_table.HasView(m_previousView)) m_previousView = m_currentView;
        SetLoadState(kNothingToShow);
        if (m_loader) m_loader->StartLoading(*this);
    } else if (!plugin) {
        ReportRefusal(path, read);
    }

    if (plugin) {
        m_window.ShowCursor(ViewerCursor::Arrow);
        m_trace.Append("ZEL filename = %s\n", path.c_str());
    }
    return read.status;
}

void MovieViewer::ReportRefusal(const std::string& path, const DescriptionRead& read) {
    std::string text = read.status == ReadStatus::CantOpen
                           ? "can't open file\n" + path
                           : "bad description file\n" + path + "\n" + DescribeProblem(read.problem);
    m_window.ShowMessage(text, kErrorCaption, MessageIcon::Exclamation);
}

}  // namespace zel
