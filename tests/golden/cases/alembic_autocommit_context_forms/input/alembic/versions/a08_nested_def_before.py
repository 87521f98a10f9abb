from alembic import op


def upgrade():
    def f():
        ctx = other()
    ctx = op.get_context()
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix")
