#pragma once

// Calling into a library without letting a fault inside it end the program.
namespace dorvint {

// Calls call(context) with an exception handler linked in around just that
// call.  A fault the callee does not handle itself unwinds the callee's frames
// and becomes a LibraryFault thrown from here, naming the fault, where it
// happened and in which module; that module must therefore still be loaded.
// After a stack overflow the stack's guard page is armed again, so that the
// next overflow is caught like the first.
void GuardedCall(void (*call)(void* context), void* context);

}  // namespace dorvint
