#pragma once
#include <stdexcept>
#include <string>

// Base of every error the program raises: it carries the message text the user sees.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

class EConvertError : public Exception {
public:
  using Exception::Exception;
};

class EListError : public Exception {
public:
  using Exception::Exception;
};

class EInvalidOperation : public Exception {
public:
  using Exception::Exception;
};

class EOSError : public Exception {
public:
  using Exception::Exception;
};

class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
  using Exception::Exception;
};
