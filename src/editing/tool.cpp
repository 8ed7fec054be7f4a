#include "editing/tool.h"

void ToolBox::add(int id, std::unique_ptr<Tool> tool)
{
    tools[id] = std::move(tool);
    if (active < 0) {
        active = id;
        tools[id]->activate();
    }
}

void ToolBox::choose(int id)
{
    if (tools.count(id) == 0)
        return;
    if (Tool* previous = activeTool())
        previous->deactivate();
    active = id;
    tools[id]->activate();
}

Tool* ToolBox::activeTool() const
{
    const auto found = tools.find(active);
    return found == tools.end() ? nullptr : found->second.get();
}

void ToolBox::press(const ToolEvent& event)
{
    if (Tool* tool = activeTool())
        tool->press(event);
}

void ToolBox::move(const ToolEvent& event)
{
    if (Tool* tool = activeTool())
        tool->move(event);
}

void ToolBox::release(const ToolEvent& event)
{
    if (Tool* tool = activeTool())
        tool->release(event);
}

bool ToolBox::key(int key, Qt::KeyboardModifiers modifiers)
{
    Tool* tool = activeTool();
    return tool && tool->key(key, modifiers);
}

QCursor ToolBox::cursor(const ToolEvent& hover) const
{
    const Tool* tool = activeTool();
    return tool ? tool->cursor(hover) : QCursor(Qt::ArrowCursor);
}
