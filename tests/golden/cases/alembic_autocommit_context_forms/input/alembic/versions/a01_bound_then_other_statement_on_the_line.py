from alembic import op


def upgrade():
    ctx = op.get_context(); other = 1
    with ctx.autocommit_block():
        op.execute("REINDEX INDEX CONCURRENTLY ix")
