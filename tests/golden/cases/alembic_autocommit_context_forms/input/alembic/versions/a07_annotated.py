from alembic import op


def upgrade():
    ctx: object = op.get_context()
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix")
