#pragma once
// Errors that end a run. They are thrown only while a script runs and caught by the control,
// which writes the message to its log.

#include <string>

namespace morva::tpx {

class CEngineException {
  public:
    explicit CEngineException(std::string message) : message_(std::move(message)) {}
    virtual ~CEngineException() = default;
    const std::string& Message() const { return message_; }

  private:
    std::string message_;
};

/// An error the script caused, such as a division by zero.
class CFatalError : public CEngineException {
  public:
    using CEngineException::CEngineException;
};

/// An internal inconsistency.
class CBugError : public CEngineException {
  public:
    using CEngineException::CEngineException;
};

}  // namespace morva::tpx
