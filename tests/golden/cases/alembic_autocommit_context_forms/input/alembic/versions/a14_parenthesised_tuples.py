from alembic import op


def upgrade():
    with (op.get_context().autocommit_block(),) as blocks:
        op.execute("REINDEX INDEX CONCURRENTLY ix_1")
    with ((op.get_context().autocommit_block(),)):
        op.execute("REINDEX INDEX CONCURRENTLY ix_2")
    with (op.get_context().autocommit_block(),), open("f"):
        op.execute("REINDEX INDEX CONCURRENTLY ix_3")
    with (*hooks, op.get_context().autocommit_block()):
        op.execute("REINDEX INDEX CONCURRENTLY ix_4")
    with (hook := open("f"), op.get_context().autocommit_block()):
        op.execute("REINDEX INDEX CONCURRENTLY ix_5")
